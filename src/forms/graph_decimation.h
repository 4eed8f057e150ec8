// What a graph draws of a long recording: never more points than the plot
// has pixel columns, whatever the number of samples.
//
// A SeriesPyramid keeps, beside a recording it does not own, summaries of
// runs of samples (first and last point, lowest and highest value with their
// positions) at sizes 64, 128, 256, ... samples. Each new sample updates the
// last run of every size (a batch of samples, the runs of each size it
// touched), so appending is cheap and drawing a frame reads only as many
// runs as the plot is wide. Runs are aligned to the absolute
// sample number, so that dropping the oldest samples of a full recording
// drops whole runs from the front.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <span>
#include <vector>

namespace velo {

struct PlotPoint {
    double X = 0;
    double Y = 0;
    friend bool operator==(const PlotPoint&, const PlotPoint&) = default;
};

// Sample i of the recording (Begin() <= i < End()).
using SampleAt = std::function<PlotPoint(std::int64_t index)>;

struct PlotExtent {
    double XMin = 0, XMax = 0, YMin = 0, YMax = 0;
    bool Empty = true;
};

class SeriesPyramid {
public:
    static constexpr std::int64_t BaseRun = 64;

    // The sample numbered End() arrives.
    void Append(PlotPoint sample);
    // The samples numbered End(), End() + 1, ... arrive: the same summaries
    // as appending them one by one, but each coarser run is updated once per
    // finer run instead of once per sample.
    void AppendAll(std::span<const PlotPoint> samples);
    // The samples numbered below `first` were dropped from the recording.
    void DropBefore(std::int64_t first);
    void Clear();
    // Empty, the next sample numbered `first` (a recording that begins
    // later than sample 0).
    void Restart(std::int64_t first);

    std::int64_t Begin() const { return begin_; }
    std::int64_t End() const { return end_; }

    // A curve y(t) with t growing along the recording: the samples with
    // xFrom <= x <= xTo (and one on either side, so that the line runs to
    // the plot's edges), as the samples themselves when there are few, else
    // as the lowest and highest value of each run, in recorded order, about
    // two points per pixel column. Missing values (no number: the object
    // was gone) come out as points that are no number, where the line
    // breaks; the extremes of a run holding one are joined to nothing.
    std::vector<PlotPoint> TimeView(double xFrom, double xTo, int pixels, const SampleAt& sample) const;
    // A curve y(x) with x going back and forth (a trajectory, a phase
    // plot): every sample when there are few, else the first sample of each
    // run at the size that gives at most eight points per pixel column, and
    // the last sample; a point that is no number before a run with missing
    // values.
    std::vector<PlotPoint> PathView(int pixels, const SampleAt& sample) const;
    // The smallest rectangle holding every retained sample.
    PlotExtent Extent() const;

    // Memory of the summaries.
    std::size_t MemoryBytes() const;

private:
    struct Run {
        std::int64_t Index = 0;  // absolute sample number / run size
        PlotPoint First, Last;
        PlotPoint Lowest, Highest;  // the extreme values of y, with their x
        double XMin = 0, XMax = 0;
        bool Missing = false;  // a sample of the run is no number
        bool Empty = false;    // no sample of the run is a number
    };
    static void Merge(Run& run, const Run& part);
    std::int64_t RunSize(std::size_t level) const { return BaseRun << level; }
    void AddLevel();

    std::vector<std::deque<Run>> levels_;
    std::int64_t begin_ = 0;
    std::int64_t end_ = 0;
};

// The first sample number in [begin, end) whose x is not below `x` (end
// when there is none), for samples in increasing x.
std::int64_t FirstSampleFrom(double x, std::int64_t begin, std::int64_t end, const SampleAt& sample);
// The sample in [begin, end) whose x is nearest to `x`, for samples in
// increasing x; end when the range is empty.
std::int64_t NearestSample(double x, std::int64_t begin, std::int64_t end, const SampleAt& sample);

}  // namespace velo
