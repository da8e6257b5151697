#include "app/ui/TAboutBox.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace tsl {

namespace {

QString Path(const std::filesystem::path& path)
{
    return QString::fromStdString(path.string());
}

} // namespace

TAboutBox::TAboutBox(const EditorEnvironment& environment, QWidget* parent) : QDialog(parent)
{
    setObjectName("aboutBox");
    setWindowTitle("About Tesselar");

    const QStringList lines = {
        "Tesselar",
        QString("Version %1").arg(TESSELAR_VERSION),
        "The map editor for Wolfenstein 3-D engine games.",
        QString("Runs on Qt %1.").arg(qVersion()),
        "Settings file: " + Path(environment.settingsFile),
        "Map definition structures: " + Path(environment.mapDefsRoot),
    };
    text_ = lines.join('\n');
    QString html = "<h2>" + lines[0] + "</h2>";
    for (qsizetype i = 1; i < lines.size(); ++i)
        html += "<p>" + lines[i].toHtmlEscaped() + "</p>";
    auto* label = new QLabel(html);
    label->setObjectName("aboutText");
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    if (const QIcon icon = QApplication::windowIcon(); !icon.isNull()) {
        auto* picture = new QLabel;
        picture->setPixmap(icon.pixmap(64, 64));
        top->addWidget(picture, 0, Qt::AlignTop);
    }
    top->addWidget(label);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString TAboutBox::Text() const
{
    return text_;
}

} // namespace tsl
