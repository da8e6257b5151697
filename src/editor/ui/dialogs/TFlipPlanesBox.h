#pragma once
// "Flip Planes": which two planes of the current map to exchange. The dialog
// only chooses; the caller applies the choice (EditorSession::FlipPlanes).

#include "core/Prompter.h"

#include <QDialog>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tsl {

class TFlipPlanesBox : public QDialog {
    Q_OBJECT
public:
    explicit TFlipPlanesBox(Prompter& prompter, QWidget* parent = nullptr);
    ~TFlipPlanesBox() override;

    // Shows the dialog modally with both lists naming the planes: the first
    // at plane 0, the second at plane 1 (plane 0 with one plane). The two
    // planes chosen with "OK", or nothing after "Cancel". "OK" with one plane
    // in both lists says so and keeps the dialog open.
    std::optional<std::pair<int, int>> ChoosePlanes(const std::vector<std::string>& planeNames);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace tsl
