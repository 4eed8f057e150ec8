#include "forms/graph_decimation.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace velo {
namespace {

// A level gets a coarser one above it once it holds this many runs, so the
// coarsest level always has few runs to read for the extent.
constexpr std::size_t MaxRunsOnTop = 64;

}  // namespace

void SeriesPyramid::Merge(Run& run, const Run& part) {
    run.Missing = run.Missing || part.Missing;
    if (part.Empty) return;
    if (run.Empty) {
        const std::int64_t index = run.Index;
        run = part;
        run.Index = index;
        run.Missing = true;
        return;
    }
    run.Last = part.Last;
    if (part.Lowest.Y < run.Lowest.Y) run.Lowest = part.Lowest;
    if (part.Highest.Y > run.Highest.Y) run.Highest = part.Highest;
    run.XMin = std::min(run.XMin, part.XMin);
    run.XMax = std::max(run.XMax, part.XMax);
}

void SeriesPyramid::AddLevel() {
    const std::deque<Run>& below = levels_.back();
    std::deque<Run> level;
    for (const Run& run : below) {
        const std::int64_t index = run.Index / 2;
        if (level.empty() || level.back().Index != index) {
            Run coarse = run;
            coarse.Index = index;
            level.push_back(coarse);
        } else {
            Merge(level.back(), run);
        }
    }
    levels_.push_back(std::move(level));
}

void SeriesPyramid::Append(PlotPoint sample) {
    // A value that is no number would poison the extremes of every run
    // above it: such a sample only marks its runs as missing a value, so
    // that the views break the line there.
    const std::int64_t number = end_++;
    const bool missing = !std::isfinite(sample.X) || !std::isfinite(sample.Y);
    if (levels_.empty()) levels_.emplace_back();
    const Run single{0, sample, sample, sample, sample, sample.X, sample.X, missing, missing};
    for (std::size_t level = 0; level < levels_.size(); ++level) {
        std::deque<Run>& runs = levels_[level];
        const std::int64_t index = number / RunSize(level);
        if (runs.empty() || runs.back().Index != index) {
            Run run = single;
            run.Index = index;
            runs.push_back(run);
        } else {
            Merge(runs.back(), single);
        }
    }
    if (levels_.back().size() > MaxRunsOnTop) AddLevel();
}

void SeriesPyramid::AppendAll(std::span<const PlotPoint> samples) {
    if (samples.empty()) return;
    if (levels_.empty()) levels_.emplace_back();
    const std::int64_t from = end_;
    std::deque<Run>& finest = levels_.front();
    for (const PlotPoint& sample : samples) {
        const std::int64_t number = end_++;
        const bool missing = !std::isfinite(sample.X) || !std::isfinite(sample.Y);
        const Run single{number / RunSize(0), sample, sample, sample, sample, sample.X, sample.X, missing, missing};
        if (finest.empty() || finest.back().Index != single.Index) {
            finest.push_back(single);
        } else {
            Merge(finest.back(), single);
        }
    }
    // Each coarser run takes the finer runs this batch touched. A finer run
    // that already held samples before the batch was merged into its
    // coarser run then; merging it again, grown, gives what the samples one
    // by one would have: the first point and the extremes (the earlier of
    // equal ones) stay, the last point is the newest.
    for (std::size_t level = 1; level < levels_.size(); ++level) {
        const std::deque<Run>& below = levels_[level - 1];
        std::deque<Run>& runs = levels_[level];
        const std::int64_t firstTouched = from / RunSize(level - 1);
        auto touched = below.end();
        while (touched != below.begin() && std::prev(touched)->Index >= firstTouched) --touched;
        for (; touched != below.end(); ++touched) {
            const std::int64_t index = touched->Index / 2;
            if (runs.empty() || runs.back().Index != index) {
                Run coarse = *touched;
                coarse.Index = index;
                runs.push_back(coarse);
            } else {
                Merge(runs.back(), *touched);
            }
        }
    }
    while (levels_.back().size() > MaxRunsOnTop) AddLevel();
}

void SeriesPyramid::DropBefore(std::int64_t first) {
    if (first <= begin_) return;
    begin_ = std::min(first, end_);
    for (std::size_t level = 0; level < levels_.size(); ++level) {
        std::deque<Run>& runs = levels_[level];
        // A run partly dropped stays until all of it is gone: its extremes
        // may then still show a dropped sample at the left edge.
        while (!runs.empty() && (runs.front().Index + 1) * RunSize(level) <= begin_) runs.pop_front();
    }
    while (levels_.size() > 1 && levels_.back().empty()) levels_.pop_back();
}

void SeriesPyramid::Clear() { Restart(0); }

void SeriesPyramid::Restart(std::int64_t first) {
    levels_.clear();
    begin_ = end_ = first;
}

std::int64_t FirstSampleFrom(double x, std::int64_t begin, std::int64_t end, const SampleAt& sample) {
    while (begin < end) {
        const std::int64_t middle = begin + (end - begin) / 2;
        // A sample that is no number does not stop the search: it counts as
        // lying before x.
        const double value = sample(middle).X;
        if (value < x || std::isnan(value)) {
            begin = middle + 1;
        } else {
            end = middle;
        }
    }
    return begin;
}

std::int64_t NearestSample(double x, std::int64_t begin, std::int64_t end, const SampleAt& sample) {
    if (begin >= end) return end;
    const std::int64_t after = FirstSampleFrom(x, begin, end, sample);
    if (after == begin) return begin;
    if (after == end) return end - 1;
    const double left = sample(after - 1).X, right = sample(after).X;
    if (std::isnan(left)) return after;
    return x - left <= right - x ? after - 1 : after;
}

std::vector<PlotPoint> SeriesPyramid::TimeView(double xFrom, double xTo, int pixels, const SampleAt& sample) const {
    std::vector<PlotPoint> points;
    if (begin_ >= end_ || !(xFrom <= xTo)) return points;
    pixels = std::max(pixels, 1);
    // The visible samples and one more on either side.
    const std::int64_t from = std::max(begin_, FirstSampleFrom(xFrom, begin_, end_, sample) - 1);
    const std::int64_t to = std::min(end_, FirstSampleFrom(std::nextafter(xTo, HUGE_VAL), begin_, end_, sample) + 1);
    const std::int64_t count = to - from;
    if (count <= 0) return points;
    if (count <= 4 * static_cast<std::int64_t>(pixels) || levels_.empty()) {
        points.reserve(static_cast<std::size_t>(count));
        for (std::int64_t i = from; i < to; ++i) points.push_back(sample(i));
        return points;
    }
    std::size_t level = 0;
    while (level + 1 < levels_.size() && RunSize(level) * pixels < count) ++level;
    const std::deque<Run>& runs = levels_[level];
    const std::int64_t size = RunSize(level);
    const PlotPoint start = sample(from);
    const PlotPoint end = sample(to - 1);
    points.push_back(start);
    // The runs at either edge reach beyond the visible samples: only their
    // extremes between the two edge samples are drawn.
    auto add = [&](const PlotPoint& p) {
        if (p.X >= start.X && p.X <= end.X) points.push_back(p);
    };
    const auto first = std::lower_bound(runs.begin(), runs.end(), from / size,
                                        [](const Run& run, std::int64_t index) { return run.Index < index; });
    const PlotPoint gap{start.X, std::nan("")};
    for (auto run = first; run != runs.end() && run->Index * size < to; ++run) {
        if (run->Missing) points.push_back(gap);
        if (run->Empty) continue;
        // Where in the run the value is missing is not kept: its extremes
        // are not joined, so that no line crosses the gap.
        const bool lowestFirst = run->Lowest.X <= run->Highest.X;
        add(lowestFirst ? run->Lowest : run->Highest);
        if (run->Missing) points.push_back(gap);
        add(lowestFirst ? run->Highest : run->Lowest);
        if (run->Missing) points.push_back(gap);
    }
    points.push_back(end);
    return points;
}

std::vector<PlotPoint> SeriesPyramid::PathView(int pixels, const SampleAt& sample) const {
    std::vector<PlotPoint> points;
    const std::int64_t count = end_ - begin_;
    if (count <= 0) return points;
    const std::int64_t most = 8 * static_cast<std::int64_t>(std::max(pixels, 1));
    if (count <= most || levels_.empty()) {
        points.reserve(static_cast<std::size_t>(count));
        for (std::int64_t i = begin_; i < end_; ++i) points.push_back(sample(i));
        return points;
    }
    std::size_t level = 0;
    while (level + 1 < levels_.size() && static_cast<std::int64_t>(levels_[level].size()) > most) ++level;
    points.push_back(sample(begin_));
    for (const Run& run : levels_[level]) {
        if (run.Missing) points.push_back({std::nan(""), std::nan("")});
        if (!run.Empty) points.push_back(run.First);
    }
    points.push_back(sample(end_ - 1));
    return points;
}

PlotExtent SeriesPyramid::Extent() const {
    PlotExtent extent;
    if (levels_.empty()) return extent;
    for (const Run& run : levels_.back()) {
        if (run.Empty) continue;
        if (extent.Empty) {
            extent = {run.XMin, run.XMax, run.Lowest.Y, run.Highest.Y, false};
            continue;
        }
        extent.XMin = std::min(extent.XMin, run.XMin);
        extent.XMax = std::max(extent.XMax, run.XMax);
        extent.YMin = std::min(extent.YMin, run.Lowest.Y);
        extent.YMax = std::max(extent.YMax, run.Highest.Y);
    }
    return extent;
}

std::size_t SeriesPyramid::MemoryBytes() const {
    std::size_t runs = 0;
    for (const std::deque<Run>& level : levels_) runs += level.size();
    return runs * sizeof(Run);
}

}  // namespace velo
