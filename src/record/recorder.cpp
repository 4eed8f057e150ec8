#include "record/recorder.h"

#include <algorithm>
#include <memory>
#include <new>
#include <stdexcept>

#include "record/energy.h"

namespace velo {

// A ring of doubles addressed by the global sample number modulo the
// capacity, in blocks that are allocated when first written. Every ring of
// a recorder has the same capacity, so one sample writes the same block
// and offset in all of them.
struct Recorder::Ring {
    explicit Ring(std::size_t capacity)
        : Capacity(capacity), Blocks((capacity + BlockSamples - 1) / BlockSamples) {}

    double& Slot(std::size_t block, std::size_t offset) {
        std::unique_ptr<double[]>& b = Blocks[block];
        if (!b) b = std::make_unique<double[]>(BlockLength(block));
        return b[offset];
    }
    // Allocates a block ahead of its first sample and touches its pages, so
    // the sample that reaches it does not wait for fresh memory.
    void Prepare(std::size_t block) {
        std::unique_ptr<double[]>& b = Blocks[block];
        if (b) return;
        const std::size_t length = BlockLength(block);
        auto fresh = std::make_unique_for_overwrite<double[]>(length);
        std::fill_n(fresh.get(), length, 0.0);
        b = std::move(fresh);
    }
    double Get(std::uint64_t global) const {
        const std::size_t position = static_cast<std::size_t>(global % Capacity);
        return Blocks[position / BlockSamples][position % BlockSamples];
    }
    std::size_t BlockLength(std::size_t block) const {
        return std::min(BlockSamples, Capacity - block * BlockSamples);
    }
    std::size_t Bytes() const {
        std::size_t bytes = Blocks.capacity() * sizeof(Blocks[0]);
        for (std::size_t block = 0; block < Blocks.size(); ++block) {
            if (Blocks[block]) bytes += BlockLength(block) * sizeof(double);
        }
        return bytes;
    }

    std::size_t Capacity;
    std::vector<std::unique_ptr<double[]>> Blocks;
};

struct Recorder::Series {
    Series(SeriesKey key, std::uint64_t start, std::size_t capacity, std::size_t object)
        : Key(key), Start(start), Values(capacity), Object(object) {}
    SeriesKey Key;
    std::uint64_t Start;  // global number of its first sample
    Ring Values;
    std::size_t Object;   // index in objects_
};

// An object some series read, with its motion at the last sample.
struct Recorder::Tracked {
    std::uint8_t Kind;
    std::int32_t Number;
    MotionHistory History;
};

namespace {

// A copy of `ring` at a new capacity holding the newest of the samples
// [first, taken) it holds, addressed as before by global number.
template <typename Ring>
Ring Reshaped(const Ring& ring, std::size_t capacity, std::uint64_t first, std::uint64_t taken,
              std::size_t blockSamples) {
    Ring reshaped(capacity);
    const std::uint64_t kept = std::min<std::uint64_t>(taken - first, capacity);
    for (std::uint64_t g = taken - kept; g < taken; ++g) {
        const std::size_t position = static_cast<std::size_t>(g % capacity);
        reshaped.Slot(position / blockSamples, position % blockSamples) = ring.Get(g);
    }
    return reshaped;
}

}  // namespace

SeriesKey Normalised(SeriesKey key) {
    if (key.Kind == KindCylinder) key.Kind = KindBall;
    return key;
}

Recorder::Recorder() : times_(std::make_unique<Ring>(DefaultCapacity)) {}

std::size_t Recorder::Capacity() const { return times_->Capacity; }

std::size_t Recorder::BudgetedCapacity(std::size_t seriesCount) const {
    // The times' ring and one ring per series, 8 bytes a sample each.
    const std::size_t perSample = (seriesCount + 1) * sizeof(double);
    return std::max<std::size_t>(1, std::min(capacity_, budget_ / perSample));
}

bool Recorder::Reshape(std::size_t seriesCount) {
    const std::size_t capacity = BudgetedCapacity(seriesCount);
    if (capacity == times_->Capacity) return true;
    try {
        // The oldest samples go first; a larger capacity keeps them all.
        const std::uint64_t oldest = oldestKept_;
        auto times = std::make_unique<Ring>(Reshaped(*times_, capacity, oldest, taken_, BlockSamples));
        std::vector<Ring> values;
        values.reserve(series_.size());
        for (const auto& series : series_) {
            const std::uint64_t first = std::max(series->Start, oldest);
            values.push_back(Reshaped(series->Values, capacity, first, taken_, BlockSamples));
        }
        times_ = std::move(times);
        for (std::size_t i = 0; i < series_.size(); ++i) series_[i]->Values = std::move(values[i]);
        oldestKept_ = std::max(oldestKept_, taken_ - std::min<std::uint64_t>(taken_, capacity));
        slotsStale_ = true;
    } catch (const std::bad_alloc&) {
        Fail();
        return false;
    }
    ++revision_;
    return true;
}

void Recorder::Fail() {
    outOfMemory_ = true;
    enabled_ = false;
    ++revision_;
}

void Recorder::SetMemoryBudget(std::size_t bytes) {
    budget_ = std::max<std::size_t>(bytes, 2 * sizeof(double));
    Reshape(series_.size());
}
Recorder::~Recorder() = default;
Recorder::Recorder(Recorder&&) noexcept = default;
Recorder& Recorder::operator=(Recorder&&) noexcept = default;

bool Recorder::Add(SeriesKey key) {
    key = Normalised(key);
    if (static_cast<int>(key.What) >= RecordedQuantityCount || !IsRecordableKind(key.Kind)) return false;
    if (key.Kind == KindNone) {
        if (key.Number != 0 || !IsSceneQuantity(key.What)) return false;
    } else {
        const int capacity = key.Kind == KindPeg ? PegCapacity : BallCapacity;
        if (key.Number < 1 || key.Number > capacity) return false;
    }
    if (IndexOf(key) >= 0) return false;
    try {
        // Room for one more series within the budget: every ring shrinks
        // (its oldest samples dropped) before the new one is made.
        if (!Reshape(series_.size() + 1)) return false;
        std::size_t object = 0;
        while (object < objects_.size() && (objects_[object].Kind != key.Kind || objects_[object].Number != key.Number))
            ++object;
        if (object == objects_.size()) {
            objects_.push_back({key.Kind, key.Number, {}});
            values_.emplace_back();
        }
        series_.push_back(std::make_unique<Series>(key, taken_, times_->Capacity, object));
        slotsStale_ = true;
    } catch (const std::bad_alloc&) {
        Fail();
        return false;
    }
    ++revision_;
    return true;
}

bool Recorder::Remove(SeriesKey key) {
    const int index = IndexOf(key);
    if (index < 0) return false;
    const std::size_t object = series_[static_cast<std::size_t>(index)]->Object;
    series_.erase(series_.begin() + index);
    slotsStale_ = true;
    // An object no series reads any more is dropped, the later ones move up.
    const bool stillRead = std::any_of(series_.begin(), series_.end(), [&](const auto& s) { return s->Object == object; });
    if (!stillRead) {
        objects_.erase(objects_.begin() + static_cast<std::ptrdiff_t>(object));
        values_.erase(values_.begin() + static_cast<std::ptrdiff_t>(object));
        for (auto& s : series_) {
            if (s->Object > object) --s->Object;
        }
    }
    // The rings may grow again, up to the requested capacity.
    Reshape(series_.size());
    ++revision_;
    return true;
}

void Recorder::Forget() {
    ForgetStartPoint();
    series_.clear();
    objects_.clear();
    values_.clear();
    Clear();
}

std::size_t Recorder::SeriesCount() const { return series_.size(); }

const SeriesKey& Recorder::KeyAt(std::size_t series) const { return SeriesAt(series).Key; }

int Recorder::IndexOf(SeriesKey key) const {
    key = Normalised(key);
    for (std::size_t i = 0; i < series_.size(); ++i) {
        if (series_[i]->Key == key) return static_cast<int>(i);
    }
    return -1;
}

void Recorder::Enable(bool on) {
    if (on) outOfMemory_ = false;
    if (enabled_ == on) return;
    enabled_ = on;
    ++revision_;
}

void Recorder::SampleEvery(int k) { every_ = std::max(k, 1); }

void Recorder::SetCapacity(std::size_t samples) {
    samples = std::max<std::size_t>(samples, 1);
    if (samples == capacity_) return;
    capacity_ = samples;
    Clear();
}

void Recorder::Sample(const World& world) {
    if (startEnergy_) {
        const SceneTotals totals = TotalsOf(world);
        peakKinetic_ = std::max(peakKinetic_, totals.Kinetic);
        lowestPotential_ = std::min(lowestPotential_, totals.Potential);
        highestPotential_ = std::max(highestPotential_, totals.Potential);
        ++stepsSinceStart_;
    }
    if (!enabled_) return;
    if (++calls_ % static_cast<std::uint64_t>(every_) == 0) TakeSample(world);
}

void Recorder::SampleNow(const World& world) {
    if (!enabled_) return;
    if (taken_ > 0 && times_->Get(taken_ - 1) == world.T) return;
    TakeSample(world);
}

void Recorder::TakeSample(const World& world) {
    const std::size_t capacity = times_->Capacity;
    const std::size_t position = static_cast<std::size_t>(taken_ % capacity);
    const std::size_t block = position / BlockSamples;
    const std::size_t offset = position % BlockSamples;
    try {
        // The blocks this sample writes, one per ring, looked up once per
        // block of samples: a sample then writes each value through one
        // pointer of a flat table.
        if (slotsStale_ || block != slotsBlock_) {
            slots_.resize(series_.size());
            sources_.resize(series_.size());
            for (std::size_t i = 0; i < series_.size(); ++i) {
                slots_[i] = &series_[i]->Values.Slot(block, 0);
                sources_[i] = &values_[series_[i]->Object][static_cast<std::size_t>(series_[i]->Key.What)];
            }
            slotsBlock_ = block;
            slotsStale_ = false;
            aheadRing_ = 0;
        }
        times_->Slot(block, offset) = world.T;
        // Each object is read once, whatever number of its quantities is
        // recorded (the scene is summed once).
        for (std::size_t k = 0; k < objects_.size(); ++k) {
            Tracked& object = objects_[k];
            ReadQuantities(world, object.Kind, object.Number, &object.History, values_[k]);
        }
        for (std::size_t i = 0; i < slots_.size(); ++i) slots_[i][offset] = *sources_[i];
    } catch (const std::bad_alloc&) {
        // A block could not be had: the recording stops with what it holds
        // (this sample is not counted) and says so; the run goes on.
        slotsStale_ = true;
        Fail();
        return;
    }
    ++taken_;
    oldestKept_ = std::max(oldestKept_, taken_ - std::min<std::uint64_t>(taken_, capacity));
    ++revision_;
    PrepareAhead(block, offset);
}

void Recorder::PrepareAhead(std::size_t block, std::size_t offset) {
    // The rings' next blocks are made a few per sample during the second
    // half of this block: no single step allocates and clears a block for
    // every series at once, and a short recording holds only what it uses. A block that cannot be had now is left to the sample
    // that needs it, which stops the recording if memory is still short.
    const std::size_t blocks = times_->Blocks.size();
    if (blocks < 2 || offset < BlockSamples / 2) return;
    const std::size_t next = (block + 1) % blocks;
    if (next != aheadBlock_) {
        aheadBlock_ = next;
        aheadRing_ = 0;
    }
    const std::size_t rings = series_.size() + 1;
    const std::size_t end = std::min(rings, aheadRing_ + rings / (BlockSamples / 2) + 1);
    try {
        for (; aheadRing_ < end; ++aheadRing_) {
            (aheadRing_ == 0 ? *times_ : series_[aheadRing_ - 1]->Values).Prepare(next);
        }
    } catch (const std::bad_alloc&) {
        aheadRing_ = rings;
    }
}

void Recorder::Clear() {
    const auto renew = [&](std::size_t capacity) {
        times_ = std::make_unique<Ring>(capacity);
        for (auto& s : series_) {
            s->Values = Ring(capacity);
            s->Start = 0;
        }
    };
    try {
        renew(BudgetedCapacity(series_.size()));
    } catch (const std::bad_alloc&) {
        // Even the tables of blocks did not fit (a capacity and budget far
        // beyond the machine): rings of one sample, and the recording stops.
        renew(1);
        Fail();
    }
    for (Tracked& object : objects_) object.History = {};
    slotsStale_ = true;
    calls_ = 0;
    taken_ = 0;
    oldestKept_ = 0;
    ++revision_;
}

void Recorder::MarkStartPoint(const World& world) {
    const SceneTotals totals = TotalsOf(world);
    startEnergy_ = totals.Mechanical();
    peakKinetic_ = totals.Kinetic;
    lowestPotential_ = highestPotential_ = totals.Potential;
    stepsSinceStart_ = 0;
}

void Recorder::ForgetStartPoint() {
    startEnergy_.reset();
    peakKinetic_ = lowestPotential_ = highestPotential_ = 0;
    stepsSinceStart_ = 0;
}

double Recorder::EnergyScale() const { return std::max(peakKinetic_, highestPotential_ - lowestPotential_); }

EnergyReadout ReadEnergy(const World& world, const Recorder& recorder) {
    EnergyReadout readout = ReadEnergy(world, recorder.StartEnergy(), recorder.EnergyScale());
    if (recorder.StepsSinceStart() < DriftSettlingSteps) readout.DriftPercent.reset();
    return readout;
}

const Recorder::Series& Recorder::SeriesAt(std::size_t series) const {
    if (series >= series_.size()) throw std::out_of_range("Recorder: no series of that index");
    return *series_[series];
}

std::size_t Recorder::Count(std::size_t series) const {
    const Series& s = SeriesAt(series);
    return static_cast<std::size_t>(taken_ - std::max(s.Start, oldestKept_));
}

std::uint64_t Recorder::DroppedCount(std::size_t series) const {
    const Series& s = SeriesAt(series);
    return taken_ - s.Start - Count(series);
}

std::uint64_t Recorder::GlobalIndex(const Series& s, std::size_t i) const {
    const std::uint64_t count = taken_ - std::max(s.Start, oldestKept_);
    if (i >= count) throw std::out_of_range("Recorder: no sample of that index");
    return taken_ - count + i;
}

double Recorder::Time(std::size_t series, std::size_t i) const {
    return times_->Get(GlobalIndex(SeriesAt(series), i));
}

double Recorder::Value(std::size_t series, std::size_t i) const {
    const Series& s = SeriesAt(series);
    return s.Values.Get(GlobalIndex(s, i));
}

std::size_t Recorder::SampleCount() const {
    return static_cast<std::size_t>(taken_ - oldestKept_);
}

double Recorder::SampleTime(std::size_t k) const {
    if (k >= SampleCount()) throw std::out_of_range("Recorder: no instant of that index");
    return times_->Get(taken_ - SampleCount() + k);
}

std::vector<RecordedPoint> Recorder::Last(std::size_t series, std::size_t n) const {
    std::vector<RecordedPoint> points;
    const std::size_t count = Count(series);
    n = std::min(n, count);
    CopyRange(series, count - n, n, points);
    return points;
}

void Recorder::CopyRange(std::size_t series, std::size_t first, std::size_t count,
                         std::vector<RecordedPoint>& out) const {
    const Series& s = SeriesAt(series);
    const std::size_t held = Count(series);
    if (first >= held) return;
    count = std::min(count, held - first);
    out.reserve(out.size() + count);
    const std::uint64_t base = GlobalIndex(s, first);
    for (std::size_t i = 0; i < count; ++i) out.push_back({times_->Get(base + i), s.Values.Get(base + i)});
}

std::size_t Recorder::MemoryBytes() const {
    std::size_t bytes = times_->Bytes() + series_.capacity() * sizeof(series_[0]) +
                        objects_.capacity() * sizeof(Tracked) + values_.capacity() * sizeof(QuantityValues);
    for (const auto& s : series_) bytes += sizeof(Series) + s->Values.Bytes();
    return bytes;
}

}  // namespace velo
