#include "core/ui/TProgressBox.h"

#include "core/MapHandler.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace tsl {

namespace {

const QString kSaving = QStringLiteral("Saving maps...");

} // namespace

struct TProgressBox::Impl {
    TProgressBox* box;
    Prompter& prompter;
    QLabel* status = nullptr;
    QLabel* mapCount = nullptr;
    QProgressBar* bar = nullptr;
    QPushButton* close = nullptr;

    bool closable = false;
    bool pending = false; // a save waits for the dialog to be shown
    bool saved = false;
    bool closeWhenSaved = false;
    const MapHandler* maps = nullptr;
    std::function<void()> onSaved;

    Impl(TProgressBox* owner, Prompter& p) : box(owner), prompter(p) {}

    void Build();
    void SetClosable(bool enabled);
    void Save();
};

void TProgressBox::Impl::Build()
{
    box->setWindowTitle(QStringLiteral("Progress"));
    status = new QLabel(kSaving, box);
    mapCount = new QLabel(QStringLiteral("Map (0 / 0)"), box);
    bar = new QProgressBar(box);
    close = new QPushButton(QStringLiteral("Close"), box);
    status->setObjectName(QStringLiteral("statusLabel"));
    mapCount->setObjectName(QStringLiteral("mapLabel"));
    bar->setObjectName(QStringLiteral("progressBar"));
    close->setObjectName(QStringLiteral("closeButton"));
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setMinimumWidth(300);

    auto* layout = new QVBoxLayout(box);
    layout->addWidget(status);
    layout->addWidget(mapCount);
    layout->addWidget(bar);
    layout->addWidget(close, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QObject::connect(close, &QPushButton::clicked, box, &QDialog::reject);
    SetClosable(false);
}

void TProgressBox::Impl::SetClosable(bool enabled)
{
    closable = enabled;
    close->setEnabled(enabled);
}

void TProgressBox::Impl::Save()
{
    status->setText(kSaving);
    bar->setRange(0, maps->NumMaps());
    std::string kept;
    const std::optional<Failure> failure = maps->Save([this](int index, int count) {
        bar->setRange(0, count);
        bar->setValue(index);
        mapCount->setText(QStringLiteral("Maps (%1 / %2)").arg(index).arg(count));
        // The dialog cannot be closed meanwhile; this only repaints it.
        QCoreApplication::processEvents();
    }, &kept);
    if (failure) {
        prompter.Show(*failure);
        SetClosable(true);
        status->setText(QStringLiteral("Maps not saved!"));
        return;
    }
    saved = true;
    if (onSaved)
        onSaved();
    SetClosable(true);
    status->setText(QStringLiteral("Maps saved!"));
    if (!kept.empty())
        prompter.Show(Failure{"Maps saved!\n\n" + kept, "Save maps", MessageIcon::Information});
    else if (closeWhenSaved)
        box->reject();
}

TProgressBox::TProgressBox(Prompter& prompter, QWidget* parent)
    : QDialog(parent), d(std::make_unique<Impl>(this, prompter))
{
    d->Build();
}

TProgressBox::~TProgressBox() = default;

bool TProgressBox::RunSave(const MapHandler& maps, std::function<void()> saved, bool closeWhenSaved)
{
    d->maps = &maps;
    d->closeWhenSaved = closeWhenSaved;
    d->onSaved = std::move(saved);
    d->saved = false;
    d->pending = true;
    exec();
    d->pending = false;
    d->maps = nullptr;
    d->onSaved = nullptr;
    return d->saved;
}

void TProgressBox::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!d->pending)
        return;
    d->pending = false;
    // Once the dialog is up, so that it shows while the maps are written.
    QTimer::singleShot(0, this, [this]() {
        if (d->maps)
            d->Save();
    });
}

void TProgressBox::closeEvent(QCloseEvent* event)
{
    if (!d->closable) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TProgressBox::reject()
{
    // Escape, the window's close button and "Close" all end here.
    if (!d->closable)
        return;
    d->SetClosable(false);
    d->status->setText(kSaving);
    QDialog::reject();
}

} // namespace tsl
