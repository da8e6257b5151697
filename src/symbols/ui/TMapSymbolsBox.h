#pragma once
// "Map Symbols": edits a working copy of every plane's symbols - order,
// names, types, directions and 8 x 8 pictures painted with the 16 pattern
// colours - and on "OK" writes every plane's symbol file at once. The
// caller then rebuilds its tables from the files; "Cancel" writes nothing
// (the types, when managed, are written as soon as their editor closes).

#include "core/Prompter.h"

#include <QDialog>

#include <memory>
#include <string>
#include <vector>

namespace tsl {

class SymbolTables;
class TAddMSBox;
class TMapSymbolTypeBox;

class TMapSymbolsBox : public QDialog {
    Q_OBJECT
public:
    explicit TMapSymbolsBox(Prompter& prompter, QWidget* parent = nullptr);
    ~TMapSymbolsBox() override;

    // Shows the dialog on a copy of `tables` (`planeNames` for the plane
    // choice). `mapsChanged`: the maps have unsaved changes, whose undo
    // histories the rebuild will discard, so "OK" asks first. True when
    // "OK" wrote the symbol files.
    bool ShowMapSymbols(const SymbolTables& tables, const std::vector<std::string>& planeNames, bool mapsChanged);

    TAddMSBox* AddBox() const;
    TMapSymbolTypeBox* TypeBox() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace tsl
