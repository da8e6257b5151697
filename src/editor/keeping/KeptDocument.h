#pragma once
// A document of the game's data beside the maps (the page file now; the
// graphics and sound files can follow) whose unsaved state the autosave
// keeps beside the maps' recovery file, and which a recovery gives back
// together with the maps. A kind of document joins by implementing this:
// what its recovery file is called, whether it differs from its file, its
// state as the bytes of a recovery file, those bytes read back, and a
// notice at every change (see KeptPages).

#include "core/Bytes.h"
#include "core/Failure.h"
#include "core/Notifier.h"

#include <filesystem>
#include <functional>
#include <string>

namespace tsl {

struct KeptChange {};

class KeptDocument {
public:
    using Token = Notifier<KeptChange>::Token;
    // Makes the bytes of the recovery file from a state taken before; runs
    // on the autosave's thread, so it holds no reference to the document.
    using Keeping = std::function<Outcome<Bytes>()>;
    // Puts a state read from a recovery file in place of the document's.
    using Taking = std::function<void()>;

    virtual ~KeptDocument() = default;

    // Its recovery file is "<key>.<extension>" beside the maps' "<key>.tsl".
    virtual std::string RecoveryExtension() const = 0;
    // The file it is saved to; questions and messages call it by its name.
    virtual std::filesystem::path SavedFile() const = 0;
    // It differs from its file.
    virtual bool Changed() const = 0;
    // Its state now, cheap to take on the editor's thread.
    virtual Keeping Keep() const = 0;
    // The state a recovery file holds, read without changing the document:
    // how to put it in place, or why the bytes do not read.
    virtual Outcome<Taking> Read(Bytes bytes) const = 0;

    // Heard at every change of the document.
    [[nodiscard]] Token Listen(std::function<void()> listener)
    {
        return notifier_.Listen([listener = std::move(listener)](const KeptChange&) { listener(); });
    }

protected:
    void Tell() const { notifier_.Notify({}); }

private:
    Notifier<KeptChange> notifier_;
};

} // namespace tsl
