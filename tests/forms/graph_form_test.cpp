#include "forms/graph_form.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>
#include <tuple>

namespace velo {
namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// A recording of n samples at t = i / 1000 of sin(t), with its pyramid.
struct Recording {
    std::vector<PlotPoint> Samples;
    SeriesPyramid Pyramid;
    explicit Recording(std::int64_t n, double (*f)(double) = [](double t) { return std::sin(t); }) {
        for (std::int64_t i = 0; i < n; ++i) {
            const double t = static_cast<double>(i) / 1000;
            Samples.push_back({t, f(t)});
            Pyramid.Append(Samples.back());
        }
    }
    SampleAt Source() const {
        return [this](std::int64_t i) { return Samples[static_cast<std::size_t>(i)]; };
    }
};

TEST(GraphDecimation, TimeViewStaysNearTwoPointsPerPixelAndKeepsTheExtremes) {
    struct Case {
        std::int64_t Samples;
        double From, To;
        int Pixels;
        bool Raw;  // few enough to be drawn as they are
    };
    const Case cases[] = {
        {1000, 0, 1, 800, true},
        {1'000'000, 0, 1000, 800, false},
        {1'000'000, 100, 200, 500, false},
        {1'000'000, 500, 500.5, 800, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Samples);
        const Recording r(c.Samples);
        const std::vector<PlotPoint> view = r.Pyramid.TimeView(c.From, c.To, c.Pixels, r.Source());
        ASSERT_FALSE(view.empty());
        EXPECT_LE(view.front().X, c.From);
        EXPECT_GE(view.back().X, std::min(c.To, r.Samples.back().X));
        if (c.Raw) {
            EXPECT_LE(view.size(), static_cast<std::size_t>(4 * c.Pixels));
        } else {
            EXPECT_LE(view.size(), static_cast<std::size_t>(4 * c.Pixels + 2));
            double low = 2, high = -2;
            for (const PlotPoint& p : view) {
                low = std::min(low, p.Y);
                high = std::max(high, p.Y);
            }
            // Each sine period is far wider than a run: its peaks survive.
            EXPECT_NEAR(low, -1, 1e-6);
            EXPECT_NEAR(high, 1, 1e-6);
        }
        for (std::size_t i = 1; i < view.size(); ++i) EXPECT_LE(view[i - 1].X, view[i].X);
    }
}

TEST(GraphDecimation, PathViewIsBoundedAndEndsAtTheLastSample) {
    const Recording r(300'000);
    const std::vector<PlotPoint> path = r.Pyramid.PathView(400, r.Source());
    EXPECT_LE(path.size(), 8u * 400 + 2);
    EXPECT_EQ(path.front(), r.Samples.front());
    EXPECT_EQ(path.back(), r.Samples.back());
}

TEST(GraphDecimation, DroppedRunsLeaveTheExtentAndNaNIsSkipped) {
    Recording r(0);
    for (int i = 0; i < 10'000; ++i) {
        r.Samples.push_back({static_cast<double>(i), i < 5000 ? 100.0 : (i == 7000 ? NaN : 1.0)});
        r.Pyramid.Append(r.Samples.back());
    }
    PlotExtent extent = r.Pyramid.Extent();
    EXPECT_EQ(extent.YMax, 100);
    r.Pyramid.DropBefore(5120);  // a run boundary
    extent = r.Pyramid.Extent();
    EXPECT_FALSE(extent.Empty);
    EXPECT_EQ(extent.YMax, 1);
    EXPECT_EQ(extent.YMin, 1);
    EXPECT_EQ(extent.XMax, 9999);
    r.Pyramid.Clear();
    EXPECT_TRUE(r.Pyramid.Extent().Empty);
    EXPECT_TRUE(r.Pyramid.TimeView(0, 1, 100, r.Source()).empty());
}

// Appending a batch gives the summaries of appending its samples one by
// one: random walks with ties, missing values and dropped fronts, in
// batches of random sizes, read through every view.
TEST(GraphDecimation, BatchesSummariseAsSingleSamplesDo) {
    std::mt19937_64 random(7);
    for (int round = 0; round < 20; ++round) {
        Recording single(0);
        SeriesPyramid batched;
        double y = 0;
        int gap = 0;
        while (single.Samples.size() < 40'000) {
            // The first batch of some rounds is large: several levels at once.
            const std::size_t size = single.Samples.empty() && round % 3 == 0
                                         ? 25'000
                                         : std::uniform_int_distribution<std::size_t>(1, 5000)(random);
            std::vector<PlotPoint> batch(size);
            for (PlotPoint& p : batch) {
                y = std::round(y + std::normal_distribution<double>()(random));  // ties on purpose
                const double t = static_cast<double>(single.Samples.size()) / 1000;
                // Now and then a sample, and once in a while a long stretch
                // (runs of several sizes with no number at all), is missing.
                if (random() % 3000 == 0) gap = 300;
                const bool missing = gap > 0 || random() % 97 == 0;
                if (gap > 0) --gap;
                p = missing ? PlotPoint{t, NaN} : PlotPoint{t, y};
                if (round % 2 == 1) p.X = std::sin(t * 5);  // a trajectory going back and forth
                single.Samples.push_back(p);
                single.Pyramid.Append(p);
            }
            batched.AppendAll(batch);
            if (random() % 4 == 0) {
                const std::int64_t first = single.Pyramid.End() / 3;
                single.Pyramid.DropBefore(first);
                batched.DropBefore(first);
            }
        }
        const PlotExtent a = single.Pyramid.Extent();
        const PlotExtent b = batched.Extent();
        ASSERT_EQ(std::tie(a.XMin, a.XMax, a.YMin, a.YMax, a.Empty), std::tie(b.XMin, b.XMax, b.YMin, b.YMax, b.Empty));
        ASSERT_EQ(single.Pyramid.MemoryBytes(), batched.MemoryBytes());
        // Points that are no number (breaks of the line) compare unequal to
        // themselves.
        const auto same = [](const std::vector<PlotPoint>& one, const std::vector<PlotPoint>& all) {
            return std::equal(one.begin(), one.end(), all.begin(), all.end(), [](PlotPoint p, PlotPoint q) {
                return p == q || (std::isnan(p.Y) && std::isnan(q.Y));
            });
        };
        // Narrow plots read the coarse runs, wide ones the fine.
        for (const int pixels : {1, 4, 16, 60, 700}) {
            ASSERT_TRUE(same(single.Pyramid.PathView(pixels, single.Source()), batched.PathView(pixels, single.Source())));
            for (const auto& [from, to] : {std::pair{0.0, 40.0}, std::pair{3.3, 7.9}, std::pair{20.0, 20.5}}) {
                ASSERT_TRUE(same(single.Pyramid.TimeView(from, to, pixels, single.Source()),
                                 batched.TimeView(from, to, pixels, single.Source())))
                    << round << " " << pixels << " " << from;
            }
        }
    }
}

// Samples [GapFrom, GapTo) are missing (the object was deleted): every
// view breaks the line there instead of joining its ends.
TEST(GraphDecimation, MissingValuesBreakTheLine) {
    struct Case {
        std::int64_t Samples, GapFrom, GapTo;
        int Pixels;
        bool Path;
    };
    const Case cases[] = {
        {1000, 400, 450, 800, false},         // drawn as recorded
        {1'000'000, 400'000, 400'001, 400, false},  // one sample, deep inside a run
        {1'000'000, 300'000, 600'000, 400, false},
        {1'000'000, 300'000, 600'000, 400, true},
        {2000, 1000, 1001, 800, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Samples << " " << c.GapFrom << " " << c.Path);
        Recording r(0);
        for (std::int64_t i = 0; i < c.Samples; ++i) {
            const double t = static_cast<double>(i) / 1000;
            r.Samples.push_back({t, i >= c.GapFrom && i < c.GapTo ? NaN : std::sin(t)});
            r.Pyramid.Append(r.Samples.back());
        }
        const double from = static_cast<double>(c.GapFrom) / 1000, to = static_cast<double>(c.GapTo - 1) / 1000;
        const std::vector<PlotPoint> view = c.Path ? r.Pyramid.PathView(c.Pixels, r.Source())
                                                   : r.Pyramid.TimeView(0, r.Samples.back().X, c.Pixels, r.Source());
        EXPECT_TRUE(std::any_of(view.begin(), view.end(), [](const PlotPoint& p) { return std::isnan(p.Y); }));
        for (std::size_t i = 1; i < view.size(); ++i) {
            const PlotPoint a = view[i - 1], b = view[i];
            if (std::isnan(a.Y) || std::isnan(b.Y)) continue;
            EXPECT_FALSE(a.X < from && b.X > to) << a.X << " joined to " << b.X;
        }
        EXPECT_FALSE(r.Pyramid.Extent().Empty);
    }
}

TEST(GraphDecimation, NearestSampleOfAGrowingAxis) {
    const Recording r(1000);  // t = 0, 0.001, ... 0.999
    const SampleAt at = r.Source();
    const std::pair<double, std::int64_t> cases[] = {{-5, 0}, {0.0004, 0}, {0.0006, 1}, {0.5, 500}, {7, 999}};
    for (const auto& [x, expected] : cases) EXPECT_EQ(NearestSample(x, 0, 1000, at), expected) << x;
    EXPECT_EQ(NearestSample(0.5, 10, 10, at), 10);  // an empty range
}

TEST(GraphForm, NiceRangesHaveRoundEnds) {
    struct Case {
        double Low, High;
        AxisRange Expected;
    };
    const Case cases[] = {
        {0, 9.3, {0, 10}},
        {-0.27, 0.31, {-0.4, 0.4}},
        {3, 3, {2.6, 3.4}},  // a constant gets a width of its own
        {0, 0, {-1, 1}},
        {NaN, 1, {0, 1}},
        {12, 1, {0, 12.5}},  // the ends in either order
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Low << " " << c.High);
        const AxisRange r = NiceRange(c.Low, c.High);
        EXPECT_NEAR(r.Min, c.Expected.Min, 1e-12);
        EXPECT_NEAR(r.Max, c.Expected.Max, 1e-12);
    }
}

TEST(GraphForm, TicksAreRoundWhateverTheEnds) {
    const struct {
        AxisRange Range;
        double Step;
    } cases[] = {
        {{0, 1.018}, 0.25}, {{0, 6.017}, 2}, {{-1.4, -1.0}, 0.1}, {{1000, 1000.001}, 0.0002}, {{5, 5}, 0}, {{0, NaN}, 0},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(TickStep(c.Range), c.Step) << c.Range.Min << ".." << c.Range.Max;
}

TEST(GraphForm, SymbolsGetTheirSubscripts) {
    EXPECT_EQ(SymbolHtml("p_x"), "p<sub>x</sub>");
    EXPECT_EQ(SymbolHtml("φ"), "φ");
    EXPECT_EQ(SymbolHtml("a<b_1"), "a&lt;b<sub>1</sub>");
}

TEST(GraphForm, ZoomKeepsThePointUnderTheCursorAndStopsAtResolution) {
    const AxisRange r{0, 10};
    const AxisRange in = ZoomedRange(r, 2, 2);
    EXPECT_DOUBLE_EQ(in.Min, 1);
    EXPECT_DOUBLE_EQ(in.Max, 6);
    EXPECT_EQ(ZoomedRange(in, 2, 0.5), r);
    EXPECT_EQ(ZoomedRange({1e6, 1e6 + 1e-5}, 1e6, 1000), (AxisRange{1e6, 1e6 + 1e-5}));
    EXPECT_EQ(ZoomedRange(r, NaN, 2), r);
    EXPECT_EQ(PannedRange(r, 0.1), (AxisRange{1, 11}));
    EXPECT_EQ(PannedRange({0, 1e308}, 1), (AxisRange{0, 1e308}));
}

TEST(GraphForm, EnergyReadout) {
    UnitSystem si;
    EXPECT_EQ(EnergyUnitName(si), "Дж");
    UnitSystem cgs;
    cgs.MassUnitName = "г";
    cgs.LengthUnitName = "см";
    EXPECT_EQ(EnergyUnitName(cgs), "г*(см/с)^2");
    struct Case {
        double Energy;
        std::optional<double> Drift;
        const char* Expected;
    };
    const Case cases[] = {
        {12.5, 0.0134, "E = 12,5 Дж, дрейф 0,013 %"},
        {-3.14159265, -2.5, "E = -3,14159 Дж, дрейф -2,5 %"},
        {1e-7, std::nullopt, "E = 1e-07 Дж"},
    };
    for (const Case& c : cases) EXPECT_EQ(EnergyReadoutText(c.Energy, c.Drift, "Дж"), c.Expected);
    EXPECT_EQ(CursorText("t", "с", 1.25, "x", "м", 0.30125), "t = 1,25 с; x = 0,30125 м");
    EXPECT_EQ(ReadoutValue("p_x", "кг*м/с", 0.5), "p_x = 0,5 кг*м/с");
    EXPECT_EQ(ReadoutValue("x", "м", NaN), "x = —");
    EXPECT_EQ(MemoryText(3 * 1024 * 1024 / 2), "1,5 МБ");
    EXPECT_EQ(MemoryText(100), "100 Б");
}

TEST(GraphForm, SeriesOfOneColourAreToldApart) {
    const std::int32_t steel = 0x806040;
    const std::vector<std::int32_t> colours = SeriesColours({steel, steel, steel, 0x0000FF, 0xFFFFFF});
    ASSERT_EQ(colours.size(), 5u);
    EXPECT_EQ(colours[0], steel);
    EXPECT_NE(colours[1], steel);
    EXPECT_NE(colours[2], steel);
    EXPECT_NE(colours[1], colours[2]);
    EXPECT_EQ(colours[3], 0x0000FF);
    EXPECT_NE(colours[4], 0xFFFFFF);  // white on the white plot is darkened
    // Ten balls of one grey: every pair differs clearly in some channel.
    const std::vector<std::int32_t> greys = SeriesColours(std::vector<std::int32_t>(10, 0x808080));
    for (std::size_t i = 0; i < greys.size(); ++i) {
        for (std::size_t j = i + 1; j < greys.size(); ++j) {
            int most = 0;
            for (int shift : {0, 8, 16}) most = std::max(most, std::abs(((greys[i] >> shift) & 0xFF) - ((greys[j] >> shift) & 0xFF)));
            EXPECT_GE(most, 40) << i << " " << j;
        }
    }
}

}  // namespace
}  // namespace velo
