#include "engine/ball_contact_walk.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <span>

#include "engine/ball_contacts.h"
#include "engine/obstacle_index.h"

namespace velo {

void PlainBallContacts(World& world, int number, CarriedBallContacts& carried, ImpulseObserver* observer) {
    for (int j = 1; j < number; ++j) {
        if (PlainlyApart(world.Balls[number], world.Balls[j])) continue;
        ContactWithBall(world, number, j, TermsOf(world.Balls[number]), TermsOf(world.Balls[j]), observer);
    }
    for (int n = 1; n <= world.LavalCount; ++n) ContactWithLaval(world, number, n, carried, observer);
    for (int n = 0; n <= world.HandCount; ++n) ContactWithHand(world, number, n, carried, observer);
    for (int n = 1; n <= world.WallCount; ++n) ContactWithWall(world, number, n, carried, observer);
    for (int n = 1; n <= world.PlaneCount; ++n) ContactWithPlane(world, number, n, carried, observer);
    for (int n = 1; n <= world.SurfaceCount; ++n) ContactWithSurface(world, number, n, carried, observer);
    for (int n = 1; n <= world.Surface2Count; ++n) ContactWithSurface2(world, number, n, carried, observer);
}

namespace {

// The lower-numbered balls above `after` through the ball grid.
void GridBallPairs(World& world, int number, ContactIndex& index, const std::vector<BallTerms>& terms, int after,
                   ImpulseObserver* observer) {
    Ball& ball = world.Balls[number];
    const BallTerms& own = terms[static_cast<std::size_t>(number)];
    const double radius = ball.Radius;
    const double move = 0.5 * std::fabs(radius);
    std::vector<int>& candidates = index.Scratch;
    Vec2 gathered = ball.Position;
    BallCandidates(index, number, gathered, radius, move, after, candidates);
    // When the ball has been pushed further than `move` from where the
    // candidates were gathered, they are gathered again around its new
    // place, from the ball after the last one met.
    std::size_t next = 0;
    while (next < candidates.size()) {
        const int j = candidates[next++];
        const Vec2 before = world.Balls[j].Position;
        if (!PlainlyApart(ball, world.Balls[j]))
            ContactWithBall(world, number, j, own, terms[static_cast<std::size_t>(j)], observer);
        const Vec2 moved = world.Balls[j].Position;
        if (moved.X != before.X || moved.Y != before.Y) MoveBallInGrid(world, index, j, before);
        const Vec2 shift = ball.Position - gathered;
        if (std::fabs(shift.X) <= move && std::fabs(shift.Y) <= move) continue;
        if (!std::isfinite(ball.Position.X) || !std::isfinite(ball.Position.Y)) {
            // No cell holds a centre that is not finite: meet every ball left.
            for (int k = j + 1; k < number; ++k)
                ContactWithBall(world, number, k, own, terms[static_cast<std::size_t>(k)], observer);
            return;
        }
        gathered = ball.Position;
        BallCandidates(index, number, gathered, radius, move, j, candidates);
        next = 0;
    }
}

// The lower-numbered balls through the neighbour lists and the escaped
// balls; a ball that has escaped its skin itself, or escapes it now, meets
// every lower ball instead.
void ListedBallPairs(World& world, int number, ContactIndex& index, const std::vector<BallTerms>& terms,
                     ImpulseObserver* observer) {
    Ball& ball = world.Balls[number];
    const BallTerms& own = terms[static_cast<std::size_t>(number)];
    int after = 0;
    if (!index.IsEscaped[static_cast<std::size_t>(number)]) {
        const std::size_t first = static_cast<std::size_t>(index.NeighbourBegin[static_cast<std::size_t>(number)]);
        const std::size_t last = static_cast<std::size_t>(index.NeighbourBegin[static_cast<std::size_t>(number) + 1]);
        std::span<const int> walk(index.Neighbours.data() + first, last - first);
        const auto escapedEnd = std::lower_bound(index.Escaped.begin(), index.Escaped.end(), number);
        // The candidates are fixed before the first contact: a ball that
        // escapes meanwhile joins the escaped list but not this walk.
        if (escapedEnd != index.Escaped.begin()) {
            std::vector<int>& candidates = index.Scratch;
            candidates.clear();
            std::set_union(walk.begin(), walk.end(), index.Escaped.begin(), escapedEnd,
                           std::back_inserter(candidates));
            walk = candidates;
        }
        for (const int j : walk) {
            const Vec2 before = world.Balls[j].Position;
            if (!PlainlyApart(ball, world.Balls[j]))
            ContactWithBall(world, number, j, own, terms[static_cast<std::size_t>(j)], observer);
            const Vec2 moved = world.Balls[j].Position;
            if ((moved.X != before.X || moved.Y != before.Y) && !WithinSkin(index, j, moved)) MarkEscaped(index, j);
            if (!WithinSkin(index, number, ball.Position)) {
                MarkEscaped(index, number);
                after = j;
                break;
            }
        }
        if (!index.IsEscaped[static_cast<std::size_t>(number)]) return;
    }
    for (int j = after + 1; j < number; ++j) {
        if (PlainlyApart(ball, world.Balls[j])) continue;
        const Vec2 before = world.Balls[j].Position;
        ContactWithBall(world, number, j, own, terms[static_cast<std::size_t>(j)], observer);
        const Vec2 moved = world.Balls[j].Position;
        if ((moved.X != before.X || moved.Y != before.Y) && !WithinSkin(index, j, moved)) MarkEscaped(index, j);
    }
}

// The contact of ball `number` with entry `entry`, when its box is near.
void FixedEntryContact(World& world, int number, const ContactIndex& index, const FixedEntry& entry,
                       CarriedBallContacts& carried, ImpulseObserver* observer) {
    const Ball& ball = world.Balls[number];
    if (!NearBox(entry.Box, ball.Position, ball.Radius)) return;
    switch (entry.Order) {
        case OrderLaval: ContactWithLaval(world, number, entry.Number, carried, observer); break;
        case OrderHand: ContactWithHand(world, number, entry.Number, carried, observer); break;
        case OrderWall: ContactWithWall(world, number, entry.Number, carried, observer); break;
        case OrderPlane: ContactWithPlane(world, number, entry.Number, carried, observer); break;
        case OrderSurface:
            ContactWithSurfaceChunks(world, number, world.Surfaces[entry.Number],
                                     index.Chunks.data() + entry.FirstChunk, entry.ChunkCount, carried,
                                     {observer, KindSurface, entry.Number});
            break;
        case OrderSurface2: ContactWithSurface2(world, number, entry.Number, carried, observer); break;
    }
}

// Fixed obstacles, kind by kind, each in increasing number.
void IndexedFixedContacts(World& world, int number, ContactIndex& index, CarriedBallContacts& carried,
                          ImpulseObserver* observer) {
    if (index.FixedColumns * index.FixedRows <= 1 && index.GlobalEntries.size() == index.Entries.size()) {
        // Without a grid every entry is global, in increasing order: the
        // candidates are all entries wherever the ball goes.
        for (const FixedEntry& entry : index.Entries) FixedEntryContact(world, number, index, entry, carried, observer);
        return;
    }
    Ball& ball = world.Balls[number];
    const double radius = ball.Radius;
    const double move = 0.5 * std::fabs(radius);
    std::vector<int>& candidates = index.Scratch;
    Vec2 gathered = ball.Position;
    FixedCandidates(index, gathered, radius, move, -1, candidates);
    // As with the balls: pushed further than `move`, the ball gathers its
    // candidates again, from the entry after the last one met.
    std::size_t next = 0;
    while (next < candidates.size()) {
        const int k = candidates[next++];
        FixedEntryContact(world, number, index, index.Entries[k], carried, observer);
        const Vec2 shift = ball.Position - gathered;
        if (std::fabs(shift.X) <= move && std::fabs(shift.Y) <= move) continue;
        gathered = ball.Position;
        if (std::isfinite(gathered.X) && std::isfinite(gathered.Y)) {
            FixedCandidates(index, gathered, radius, move, k, candidates);
        } else {
            // No cell holds a centre that is not finite: take every entry.
            candidates.clear();
            for (int e = k + 1; e < static_cast<int>(index.Entries.size()); ++e) candidates.push_back(e);
        }
        next = 0;
    }
}

}  // namespace

void BallContacts(World& world, int number, double, StepContext& context) {
    ContactIndex& index = context.Index();
    CarriedBallContacts& carried = context.CarriedContacts;
    FillBallGridBelow(world, index, number);
    const Ball& ball = world.Balls[number];
    const bool finite = std::isfinite(ball.Position.X) && std::isfinite(ball.Position.Y) &&
                        std::isfinite(ball.Radius);
    if (!finite) {
        if (index.ListsActive) DropNeighbourLists(world, index, number);
        PlainBallContacts(world, number, carried, context.Impulses);
    } else {
        if (index.ListsActive) ListedBallPairs(world, number, index, context.Terms, context.Impulses);
        else GridBallPairs(world, number, index, context.Terms, 0, context.Impulses);
        IndexedFixedContacts(world, number, index, carried, context.Impulses);
        // The obstacles may have pushed the ball beyond its skin; the balls
        // after it must then find it among the escaped ones.
        if (index.ListsActive && !WithinSkin(index, number, ball.Position)) MarkEscaped(index, number);
    }
    if (!index.ListsActive) {
        InsertBall(world, index, number);
        index.LastNumber = number;
    }
}

}  // namespace velo
