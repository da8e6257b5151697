#pragma once
// What a command of the editing engine did, for the window to show: what to
// redraw, whether the overlay moved, a message, and what else changed. The
// window refreshes the enabled state of its commands after every command.

#include "core/Failure.h"
#include "editor/PointerInput.h"

#include <optional>
#include <string>

namespace tsl {

struct EditResult {
    enum class Redraw {
        Nothing,
        Tiles,   // the tiles in Changed (the pencil)
        Map,     // the whole current map
        MapList, // the maps or the current map changed: title, navigation and the whole map
    };
    Redraw What = Redraw::Nothing;
    std::optional<TileRect> Changed; // for Tiles
    bool Overlay = false;            // the outline or the paste preview moved: repaint the view
    std::optional<Failure> Message;  // to show the user (the command did nothing)
    // A button's value changed (Select Object picked, a symbol was chosen):
    // the window shows the "Left:" and "Right:" rows again.
    bool ValuesChanged = false;
    bool ToolChanged = false; // CurrentTool changed: buttons and cursor
    // A change of the maps ended the gesture of a button still held: the view
    // forgets that press, and sends nothing more of it.
    bool GestureEnded = false;
    // What the command counted, for the status bar ("Find All marked 12
    // tiles"): a note, not a message that waits for an answer.
    std::optional<std::string> Status;

    static EditResult None() { return {}; }
    static EditResult Redrawing(Redraw what)
    {
        EditResult result;
        result.What = what;
        return result;
    }
    static EditResult Refusal(Failure failure)
    {
        EditResult result;
        result.Message = std::move(failure);
        return result;
    }
};

} // namespace tsl
