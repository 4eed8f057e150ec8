#include "record/recorder.h"

#include <algorithm>
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
    Series(SeriesKey key, std::uint64_t start, std::size_t capacity) : Key(key), Start(start), Values(capacity) {}
    SeriesKey Key;
    std::uint64_t Start;  // global number of its first sample
    Ring Values;
};

SeriesKey Normalised(SeriesKey key) {
    if (key.Kind == KindCylinder) key.Kind = KindBall;
    return key;
}

Recorder::Recorder() : times_(std::make_unique<Ring>(DefaultCapacity)) {}
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
    series_.push_back(std::make_unique<Series>(key, taken_, capacity_));
    ++revision_;
    return true;
}

bool Recorder::Remove(SeriesKey key) {
    const int index = IndexOf(key);
    if (index < 0) return false;
    series_.erase(series_.begin() + index);
    ++revision_;
    return true;
}

void Recorder::Forget() {
    series_.clear();
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
    if (!enabled_) return;
    if (++calls_ % static_cast<std::uint64_t>(every_) == 0) TakeSample(world);
}

void Recorder::SampleNow(const World& world) {
    if (!enabled_) return;
    if (taken_ > 0 && times_->Get(taken_ - 1) == world.T) return;
    TakeSample(world);
}

void Recorder::TakeSample(const World& world) {
    const std::size_t position = static_cast<std::size_t>(taken_ % capacity_);
    const std::size_t block = position / BlockSamples;
    const std::size_t offset = position % BlockSamples;
    times_->Slot(block, offset) = world.T;
    // The scene is summed once however many of its totals are recorded.
    std::optional<SceneTotals> totals;
    for (const auto& s : series_) {
        const SeriesKey& key = s->Key;
        double value;
        if (key.Kind == KindNone) {
            if (!totals) totals = TotalsOf(world);
            value = SceneQuantity(*totals, key.What);
        } else {
            value = ReadQuantity(world, key.Kind, key.Number, key.What);
        }
        s->Values.Slot(block, offset) = value;
    }
    ++taken_;
    ++revision_;
}

void Recorder::Clear() {
    times_ = std::make_unique<Ring>(capacity_);
    for (auto& s : series_) {
        s->Values = Ring(capacity_);
        s->Start = 0;
    }
    calls_ = 0;
    taken_ = 0;
    ++revision_;
}

void Recorder::MarkStartPoint(const World& world) { startEnergy_ = MechanicalEnergy(world); }

const Recorder::Series& Recorder::SeriesAt(std::size_t series) const {
    if (series >= series_.size()) throw std::out_of_range("Recorder: no series of that index");
    return *series_[series];
}

std::size_t Recorder::Count(std::size_t series) const {
    const Series& s = SeriesAt(series);
    return static_cast<std::size_t>(std::min<std::uint64_t>(taken_ - s.Start, capacity_));
}

std::uint64_t Recorder::DroppedCount(std::size_t series) const {
    const Series& s = SeriesAt(series);
    return taken_ - s.Start - Count(series);
}

std::uint64_t Recorder::GlobalIndex(const Series& s, std::size_t i) const {
    const std::uint64_t count = std::min<std::uint64_t>(taken_ - s.Start, capacity_);
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
    return static_cast<std::size_t>(std::min<std::uint64_t>(taken_, capacity_));
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
    std::size_t bytes = times_->Bytes() + series_.capacity() * sizeof(series_[0]);
    for (const auto& s : series_) bytes += sizeof(Series) + s->Values.Bytes();
    return bytes;
}

}  // namespace velo
