#pragma once
// "Map Symbol Types": edits a copy of the structure's symbol types. The
// built-in types can be renamed and moved but keep their ids and stay.
// Closing the window by its frame counts as "OK"; only "Close" cancels.

#include "core/Prompter.h"
#include "symbols/MapSymbols.h"

#include <QDialog>

#include <memory>
#include <optional>
#include <vector>

namespace tsl {

class TAddMSTBox;

class TMapSymbolTypeBox : public QDialog {
    Q_OBJECT
public:
    explicit TMapSymbolTypeBox(Prompter& prompter, QWidget* parent = nullptr);
    ~TMapSymbolTypeBox() override;

    // Shows the dialog on a copy of `types`: the edited list, or nothing
    // when "Close" was pressed.
    std::optional<std::vector<MapSymbolTypes>> ShowSymbolTypes(const std::vector<MapSymbolTypes>& types);

    TAddMSTBox* AddBox() const;

public slots:
    void reject() override;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace tsl
