#pragma once
// What a command of the editing engine did to the editing state, for the
// window to show: whether the view shows the words anew (the value mode),
// whether the overlay moved, a message, and what else changed. What a
// command did to the maps themselves the document tells its listeners
// (DocumentChange); the window refreshes the enabled state of its commands
// after every command.

#include "core/Failure.h"
#include "editor/document/PointerInput.h"

#include <optional>
#include <string>

namespace tsl {

struct EditResult {
    enum class Redraw {
        Nothing,
        Map, // the words are shown another way (the value mode): the whole current map
    };
    Redraw What = Redraw::Nothing;
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

    // Both results' effects at once (`other`'s message, if any, wins).
    void Add(const EditResult& other)
    {
        if (other.What != Redraw::Nothing)
            What = other.What;
        Overlay = Overlay || other.Overlay;
        if (other.Message)
            Message = other.Message;
        ValuesChanged = ValuesChanged || other.ValuesChanged;
        ToolChanged = ToolChanged || other.ToolChanged;
        GestureEnded = GestureEnded || other.GestureEnded;
        if (other.Status)
            Status = other.Status;
    }

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
