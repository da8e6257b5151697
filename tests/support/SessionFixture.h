#pragma once
// An editing session over a project made in memory, with the helpers the
// tests of its parts share: the words of the current map, strokes of pointer
// records through the pointer tools, and the check that Undo and Redo of the
// last step give back both states.

#include "EditorTestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>

namespace tsl::test {

class SessionFixture : public ::testing::Test {
protected:
    using Button = PointerButton;
    using Words = std::vector<std::uint16_t>;
    using MapState = std::tuple<int, int, PlaneSet>; // the size and every plane

    void SetUp() override { Open(); }
    // One map per size; the planes to split; a header of the WDC kind.
    void Open(std::vector<std::pair<int, int>> sizes = {{16, 16}}, std::vector<int> splitPlanes = {},
              bool wdc = false)
    {
        session = MemorySession(dir.path(), {std::move(sizes), 3, std::move(splitPlanes), wdc});
    }
    PointerTools& Tools() { return session->Tools(); }
    MapDocument& Document() { return session->Document(); }
    const MapList& Map(int i = -1)
    {
        return session->Maps().Maps.at(static_cast<std::size_t>(i < 0 ? session->Maps().CurrentMap : i));
    }
    // Words laid into map `i` (the current one by default) before the test
    // acts, as its files would hold them (LayWords).
    void Lay(const std::function<void(MapList&)>& lay, int i = -1)
    {
        const int map = i < 0 ? session->Maps().CurrentMap : i;
        LayWords(Document(), [&](MapHandler& maps) { lay(maps.Maps.at(static_cast<std::size_t>(map))); });
    }
    void LayWord(int plane, int x, int y, std::uint16_t word, int i = -1)
    {
        Lay([=](MapList& map) { map.SetWord(static_cast<std::size_t>(plane), x, y, word); }, i);
    }
    std::uint16_t W(int plane, int x, int y) { return Map().Word(static_cast<std::size_t>(plane), x, y); }
    // How many words of the plane hold `word`.
    long Count(int plane, std::uint16_t word)
    {
        const auto& words = Map().Planes.at(static_cast<std::size_t>(plane));
        return std::count(words.begin(), words.end(), word);
    }
    MapState Now() { return {Map().Width, Map().Height, Map().Planes}; }
    void Send(PointerAction action, int x, int y, PointerButton button = Button::Left)
    {
        Tools().Pointer({action, button, x, y});
    }
    // A press at the first point, moves through the others, the release at the last.
    void Stroke(const std::vector<std::pair<int, int>>& points, PointerButton button = Button::Left)
    {
        Send(PointerAction::Press, points.front().first, points.front().second, button);
        for (auto [x, y] : points)
            Send(PointerAction::Move, x, y, button);
        Send(PointerAction::Release, points.back().first, points.back().second, button);
    }
    // Undo gives `before` back, and Redo what the last step made.
    void ExpectUndoRedo(const MapState& before)
    {
        const MapState after = Now();
        Document().Step(HistoryStep::Undo);
        EXPECT_EQ(Now(), before) << "after Undo";
        Document().Step(HistoryStep::Redo);
        EXPECT_EQ(Now(), after) << "after Redo";
    }
    void Draw(std::uint16_t value, int x, int y)
    {
        Tools().SetButtonValue(Button::Left, value);
        Stroke({{x, y}});
    }

    TempDir dir;
    std::unique_ptr<EditorSession> session;
};

} // namespace tsl::test
