#include "editor/document/UndoHistory.h"

#include <algorithm>

namespace tsl {

namespace {

// Runs closer than this many words are joined: a run costs more than the
// few unchanged words between two of them.
constexpr std::uint32_t kJoinGap = 3;

} // namespace

void UR_Manager::PushUndoStep(const MapList& map, int scope)
{
    std::vector<int> planes;
    if (scope != kAllPlanes)
        planes.push_back(scope);
    else
        for (std::size_t p = 0; p < map.Planes.size(); ++p)
            planes.push_back(static_cast<int>(p));
    PushUndoStep(map, planes);
}

void UR_Manager::PushUndoStep(const MapList& map, const std::vector<int>& planes)
{
    if (pending_)
        PushRedoStep(map);
    Snapshot snapshot;
    snapshot.width = map.Width;
    snapshot.height = map.Height;
    // The words as they are: a plane made up here (of zeros, say) would be
    // put back over words nobody recorded.
    for (int p : planes)
        if (p >= 0 && static_cast<std::size_t>(p) < map.Planes.size()) {
            snapshot.numbers.push_back(p);
            snapshot.planes.push_back(map.Planes[static_cast<std::size_t>(p)]);
        }
    pending_ = std::move(snapshot);
}

void UR_Manager::PushRedoStep(const MapList& map)
{
    if (!pending_)
        return;
    Snapshot before = std::move(*pending_);
    pending_.reset();

    Entry step;
    step.beforeWidth = before.width;
    step.beforeHeight = before.height;
    step.afterWidth = map.Width;
    step.afterHeight = map.Height;
    for (std::size_t i = 0; i < before.planes.size(); ++i) {
        PlaneChange change;
        change.plane = before.numbers[i];
        if (static_cast<std::size_t>(change.plane) >= map.Planes.size())
            continue; // the plane went: nothing of it to put back or forth
        std::vector<std::uint16_t> after = map.Planes[static_cast<std::size_t>(change.plane)];
        if (step.Whole()) {
            change.before = std::move(before.planes[i]);
            change.after = std::move(after);
            step.planes.push_back(std::move(change));
            continue;
        }
        const std::vector<std::uint16_t>& old = before.planes[i];
        const auto count = static_cast<std::uint32_t>(std::min(old.size(), after.size()));
        for (std::uint32_t w = 0; w < count;) {
            if (old[w] == after[w]) {
                ++w;
                continue;
            }
            std::uint32_t end = w + 1;
            for (std::uint32_t same = 0; end < count && same <= kJoinGap; ++end)
                same = old[end] == after[end] ? same + 1 : 0;
            while (end > w + 1 && old[end - 1] == after[end - 1])
                --end;
            change.runs.push_back({w, end - w, static_cast<std::uint32_t>(change.before.size())});
            change.before.insert(change.before.end(), old.begin() + w, old.begin() + end);
            change.after.insert(change.after.end(), after.begin() + w, after.begin() + end);
            w = end;
        }
        if (!change.runs.empty()) {
            change.runs.shrink_to_fit();
            change.before.shrink_to_fit();
            change.after.shrink_to_fit();
            step.planes.push_back(std::move(change));
        }
    }
    // A change that changed nothing is still a step (a Fill of a region that
    // already held the word can be undone like any other), but it moves the
    // maps nowhere: AtSaved looks past it.
    step.planes.shrink_to_fit();
    // The steps beyond the position go only now, so that a dropped step
    // leaves them to redo. When those that led to the save changed nothing,
    // the saved words are the ones at the position.
    if (saved_ && *saved_ > position_)
        saved_ = Unchanged(position_, *saved_) ? std::optional<int>(position_) : std::nullopt;
    steps_.erase(steps_.begin() + (position_ + 1), steps_.end());
    steps_.push_back(std::move(step));
    position_ = static_cast<int>(steps_.size()) - 1;
}

void UR_Manager::Apply(const Entry& step, MapList& map, bool forward)
{
    const int width = forward ? step.afterWidth : step.beforeWidth;
    const int height = forward ? step.afterHeight : step.beforeHeight;
    map.Width = static_cast<std::uint16_t>(width);
    map.Height = static_cast<std::uint16_t>(height);
    const std::size_t count = map.WordCount();
    // Planes outside the step keep their words but must still hold the
    // restored size.
    for (std::vector<std::uint16_t>& plane : map.Planes)
        if (plane.size() < count)
            plane.resize(count, 0);
    for (const PlaneChange& change : step.planes) {
        if (change.plane < 0 || static_cast<std::size_t>(change.plane) >= map.Planes.size())
            continue;
        std::vector<std::uint16_t>& plane = map.Planes[static_cast<std::size_t>(change.plane)];
        const std::vector<std::uint16_t>& words = forward ? change.after : change.before;
        if (step.Whole()) {
            plane = words;
            continue;
        }
        for (const Run& run : change.runs)
            std::copy_n(words.begin() + run.offset, run.length, plane.begin() + run.start);
    }
}

bool UR_Manager::Step(HistoryStep direction, MapList& map, bool* changed)
{
    if (pending_ || !CanStep(direction))
        return false;
    const bool forward = direction == HistoryStep::Redo;
    const Entry& step = steps_[static_cast<std::size_t>(forward ? position_ + 1 : position_)];
    Apply(step, map, forward);
    if (changed)
        *changed = step.Whole() || !step.planes.empty();
    position_ += forward ? 1 : -1;
    return true;
}

bool UR_Manager::Unchanged(int from, int to) const
{
    for (int i = std::min(from, to) + 1; i <= std::max(from, to); ++i) {
        const Entry& step = steps_[static_cast<std::size_t>(i)];
        if (step.Whole() || !step.planes.empty())
            return false;
    }
    return true;
}

bool UR_Manager::AtSaved() const
{
    return saved_ && Unchanged(*saved_, position_);
}

void UR_Manager::ClearHistory()
{
    steps_.clear();
    steps_.shrink_to_fit();
    pending_.reset();
    position_ = -1;
    saved_ = -1;
}

std::size_t UR_Manager::MemoryUsage() const
{
    std::size_t bytes = steps_.capacity() * sizeof(Entry);
    for (const Entry& step : steps_) {
        bytes += step.planes.capacity() * sizeof(PlaneChange);
        for (const PlaneChange& change : step.planes)
            bytes += change.runs.capacity() * sizeof(Run) +
                     (change.before.capacity() + change.after.capacity()) * sizeof(std::uint16_t);
    }
    return bytes;
}

} // namespace tsl
