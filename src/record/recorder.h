// The recorder: while enabled, it samples chosen quantities of chosen
// objects after every step, or every k-th, into ring buffers of a fixed
// capacity per series (the oldest samples dropped when full). All series
// are sampled at the same instants, so they share one ring of times.
//
// The buffers grow in blocks of BlockSamples up to the capacity and are
// then reused: a step allocates at most once in BlockSamples samples, and a
// short recording takes little memory even with a large capacity.
//
// Who owns the recorder calls, around a run:
// - SampleNow before the first step (the state the run starts from) and
//   Sample after each completed step (DriverHooks::AfterStep in the
//   program, the step loop in the command-line tool);
// - MarkStartPoint when the start point is recorded, for the energy drift;
// - Clear when the scene is rewound to the start point or "Отменить всё"
//   returns to the saved state: the recording no longer fits the scene;
// - Forget when another project is created or opened.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "model/world.h"
#include "record/energy.h"
#include "record/quantities.h"

namespace velo {

// One series: a quantity of an object, or of the scene (Kind KindNone,
// Number 0). Balls and cylinders share one table; a cylinder's key is kept
// as KindBall, so either kind finds the series.
struct SeriesKey {
    std::uint8_t Kind = KindNone;
    std::int32_t Number = 0;
    Quantity What = Quantity::X;

    friend bool operator==(const SeriesKey&, const SeriesKey&) = default;
};
// KindCylinder becomes KindBall; other kinds are left as they are.
SeriesKey Normalised(SeriesKey key);

struct RecordedPoint {
    double Time = 0;
    double Value = 0;
};

class Recorder {
public:
    static constexpr std::size_t DefaultCapacity = 1'000'000;
    static constexpr std::size_t BlockSamples = 4096;

    Recorder();
    ~Recorder();
    Recorder(Recorder&&) noexcept;
    Recorder& operator=(Recorder&&) noexcept;

    // Series. Add refuses (false) a key that is already there or that no
    // object can have (a kind other than ball, cylinder, rod or scene; a
    // scene quantity the scene has no total of; a number outside the
    // table). A series added during a recording starts empty at the next
    // sample. The object need not exist now: while it does not, its
    // samples are NaN (a gap in the graph).
    bool Add(SeriesKey key);
    bool Remove(SeriesKey key);
    // Drops every series, every sample and the start point; the settings
    // stay.
    void Forget();
    std::size_t SeriesCount() const;
    const SeriesKey& KeyAt(std::size_t series) const;
    // Index of the series, or -1.
    int IndexOf(SeriesKey key) const;

    // Off by default: Sample and SampleNow do nothing while off.
    void Enable(bool on);
    bool Enabled() const { return enabled_; }
    // Sample after every k-th call of Sample, k >= 1 (smaller is taken as 1).
    void SampleEvery(int k);
    int Every() const { return every_; }
    // Samples kept per series, at least 1. A change clears the recording.
    void SetCapacity(std::size_t samples);
    std::size_t RequestedCapacity() const { return capacity_; }
    // What every series keeps now: the requested capacity, or less where
    // the memory budget split over the series (and the times) allows less.
    std::size_t Capacity() const;

    // All rings together stay within this many bytes (8 a sample): each
    // series added shrinks every ring, dropping the oldest samples, and a
    // series removed lets them grow again up to the requested capacity.
    static constexpr std::size_t DefaultMemoryBudget = std::size_t{512} << 20;
    void SetMemoryBudget(std::size_t bytes);
    std::size_t MemoryBudget() const { return budget_; }

    // True once memory ran out while recording: the recording stopped
    // (Enabled() false) keeping what it held. Enable(true) clears it.
    bool OutOfMemory() const { return outOfMemory_; }

    // After a completed step: every k-th call takes a sample of all series
    // at the World's T.
    void Sample(const World& world);
    // A sample now, whatever the count; skipped when the last sample was
    // taken at this very T (a run resumed without a step in between).
    void SampleNow(const World& world);
    // Drops the samples, keeps the series, the settings and the start
    // energy. The next Sample counts from 1 again.
    void Clear();

    // The mechanical energy of the scene at the start point, for the
    // drift readout (record/energy.h).
    void MarkStartPoint(const World& world);
    // No start point any more (another project): no drift until the next.
    void ForgetStartPoint();
    std::optional<double> StartEnergy() const { return startEnergy_; }
    // Sample calls since the start point.
    std::uint64_t StepsSinceStart() const { return stepsSinceStart_; }
    // The scale of the drift since the start point (record/energy.h): the
    // larger of the peak total kinetic energy and the swing of the total
    // potential energy, followed at every Sample call, recording or not.
    double EnergyScale() const;

    // Reading a series, oldest sample first (i = 0 .. Count - 1).
    std::size_t Count(std::size_t series) const;
    // Samples dropped to make room since the recording began; non-zero
    // means the graph does not reach back to the start.
    std::uint64_t DroppedCount(std::size_t series) const;
    bool DroppedOldest(std::size_t series) const { return DroppedCount(series) != 0; }
    double Time(std::size_t series, std::size_t i) const;
    double Value(std::size_t series, std::size_t i) const;
    RecordedPoint At(std::size_t series, std::size_t i) const { return {Time(series, i), Value(series, i)}; }
    // The last n samples (fewer when the series holds fewer), oldest first.
    std::vector<RecordedPoint> Last(std::size_t series, std::size_t n) const;
    // Samples [first, first + count) appended to `out` (clipped to Count).
    void CopyRange(std::size_t series, std::size_t first, std::size_t count, std::vector<RecordedPoint>& out) const;

    // The shared time axis: the instants kept (k = 0 .. SampleCount - 1,
    // oldest first). Sample i of a series was taken at instant
    // FirstInstant(series) + i; a series added during the recording
    // begins later than the axis.
    std::size_t SampleCount() const;
    double SampleTime(std::size_t k) const;
    std::size_t FirstInstant(std::size_t series) const { return SampleCount() - Count(series); }

    // Samples taken since the recording began (also those dropped since),
    // and the steps Sample has seen.
    std::uint64_t SamplesTaken() const { return taken_; }
    // Grows by one at every change a reader can see (sample, clear, series
    // added or removed, capacity): a window redraws when it has moved.
    std::uint64_t Revision() const { return revision_; }
    // Heap memory of the buffers and the series list, in bytes.
    std::size_t MemoryBytes() const;

private:
    struct Ring;
    struct Series;
    struct Tracked;

    void TakeSample(const World& world);
    std::size_t BudgetedCapacity(std::size_t seriesCount) const;
    // Gives every ring the capacity the budget allows `seriesCount` series;
    // false (and stopped) when memory ran out.
    bool Reshape(std::size_t seriesCount);
    void Fail();
    void PrepareAhead(std::size_t block, std::size_t offset);
    const Series& SeriesAt(std::size_t series) const;
    // Global sample number of sample i of a series.
    std::uint64_t GlobalIndex(const Series& s, std::size_t i) const;

    std::vector<std::unique_ptr<Series>> series_;
    // The objects the series read and, per object, this sample's values.
    std::vector<Tracked> objects_;
    std::vector<QuantityValues> values_;
    // Per series, the start of the block the samples go to now and where
    // its value lies in values_ (both renewed after any change of them).
    std::vector<double*> slots_;
    std::vector<const double*> sources_;
    std::size_t slotsBlock_ = 0;
    bool slotsStale_ = true;
    // The block made ready ahead of the samples and how many rings have it.
    std::size_t aheadBlock_ = 0;
    std::size_t aheadRing_ = 0;
    std::unique_ptr<Ring> times_;
    bool enabled_ = false;
    int every_ = 1;
    std::size_t capacity_ = DefaultCapacity;
    std::size_t budget_ = DefaultMemoryBudget;
    bool outOfMemory_ = false;
    std::uint64_t calls_ = 0;
    std::uint64_t taken_ = 0;
    // Global number of the oldest sample the rings still hold.
    std::uint64_t oldestKept_ = 0;
    std::uint64_t revision_ = 0;
    std::optional<double> startEnergy_;
    std::uint64_t stepsSinceStart_ = 0;
    double peakKinetic_ = 0;
    double lowestPotential_ = 0;
    double highestPotential_ = 0;
};

// The scene's energy and its drift since the recorder's start point. The
// drift is withheld for the first steps from the start point: a scene that
// starts from rest has hardly any energy to scale by yet, and the error of
// one step would read as tens of per cent.
inline constexpr std::uint64_t DriftSettlingSteps = 200;
EnergyReadout ReadEnergy(const World& world, const Recorder& recorder);

}  // namespace velo
