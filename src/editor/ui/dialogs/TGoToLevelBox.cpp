#include "editor/ui/dialogs/TGoToLevelBox.h"

#include "core/ui/DialogButtons.h"
#include "core/ui/NameText.h"
#include "core/MapHandler.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tsl {

TGoToLevelBox::TGoToLevelBox(QWidget* parent) : QDialog(parent)
{
    setObjectName("goToLevelBox");
    setWindowTitle("Go To Level");
    auto* label = new QLabel("Choose a level from the list:");
    levels_ = new QComboBox;
    levels_->setObjectName("levelList");
    levels_->setMinimumContentsLength(24);
    QDialogButtonBox* buttons = OkCancelButtons(this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(levels_);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

std::optional<int> TGoToLevelBox::ChooseLevel(const MapHandler& maps, const std::set<int>& changed)
{
    levels_->clear();
    // Names as the header keeps them: at most NameLength - 1 characters.
    const auto length = static_cast<std::size_t>(std::max(maps.NameLength - 1, 0));
    for (int i = 0; i < maps.NumMaps(); ++i) {
        const std::string name = MapNameText(maps.Maps[static_cast<std::size_t>(i)].Name).substr(0, length);
        levels_->addItem(QString("%1 - %2%3").arg(i + 1).arg(NameToQt(name), changed.contains(i) ? "  (changed)" : ""));
    }
    levels_->setCurrentIndex(maps.CurrentMap);
    if (exec() != QDialog::Accepted || levels_->currentIndex() < 0)
        return std::nullopt;
    return levels_->currentIndex();
}

} // namespace tsl
