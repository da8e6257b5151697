#include "mapdefs/ui/TMapConfigurationsBox.h"

#include "mapdefs/ui/HexEdit.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tsl {

struct TMapConfigurationsBox::Impl {
    TMapConfigurationsBox* box;
    Prompter& prompter;
    MapConfiguration current;
    std::optional<MapConfiguration> chosen;

    TagEdits tags;
    CompressionChoice compression;
    QCheckBox* extendedNames = nullptr;
    QCheckBox* wdc = nullptr;

    Impl(TMapConfigurationsBox* owner, Prompter& p) : box(owner), prompter(p) {}

    void Build();
    void Fill();
    void Ok();
};

void TMapConfigurationsBox::Impl::Build()
{
    box->setWindowTitle(QStringLiteral("Map Configurations"));
    tags = TagEdits::Make(QStringLiteral("config"), QStringLiteral("Set Defaults"), box);
    compression = CompressionChoice::Make(QStringLiteral("config"), box);
    // Saving writes the layout the data file holds (Carmack in GAMEMAPS, RLEW
    // only in MAPTEMP), so a choice here would change nothing.
    compression.group->setEnabled(false);
    auto* compressionNote = new QLabel(
        QStringLiteral("The data file sets the compression: GAMEMAPS files are saved with Carmack "
                       "compression, MAPTEMP files with RLEW compression only."),
        box);
    compressionNote->setObjectName(QStringLiteral("configCompressionNote"));
    compressionNote->setWordWrap(true);

    auto* mapOptions = new QGroupBox(QStringLiteral("Misc map configurations"), box);
    extendedNames = new QCheckBox(QStringLiteral("Use 32 character map names"), mapOptions);
    wdc = new QCheckBox(QStringLiteral("Save maps WDC compatible"), mapOptions);
    extendedNames->setObjectName(QStringLiteral("configExtendedNames"));
    wdc->setObjectName(QStringLiteral("configWdc"));
    auto* optionsLayout = new QVBoxLayout(mapOptions);
    optionsLayout->addWidget(extendedNames);
    optionsLayout->addWidget(wdc);

    auto* buttons = new QDialogButtonBox(box);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    ok->setObjectName(QStringLiteral("okButton"));
    cancel->setObjectName(QStringLiteral("cancelButton"));
    ok->setDefault(true);

    auto* layout = new QVBoxLayout(box);
    layout->addWidget(tags.group);
    layout->addWidget(compression.group);
    layout->addWidget(compressionNote);
    layout->addWidget(mapOptions);
    layout->addWidget(buttons);

    QObject::connect(ok, &QPushButton::clicked, box, [this]() { Ok(); });
    QObject::connect(cancel, &QPushButton::clicked, box, &QDialog::reject);
    QObject::connect(tags.defaults, &QPushButton::clicked, box, [this]() {
        tags.SetTexts(QString::fromLatin1(kDefaultRlewText), QString::fromLatin1(kDefaultNearText),
                      QString::fromLatin1(kDefaultFarText));
    });
}

void TMapConfigurationsBox::Impl::Fill()
{
    tags.SetValues(current.RLEWTag, current.NearTag, current.FarTag);
    compression.Choose(current.Compression);
    extendedNames->setChecked(current.ExtendedMapNames);
    wdc->setChecked(current.WDCCompatibleMaps);
}

void TMapConfigurationsBox::Impl::Ok()
{
    if (auto message = FirstMissingChoice(compression, tags)) {
        prompter.Message(*message, kConfigurationsErrorCaption, MessageIcon::Error, Buttons::Ok);
        return;
    }
    MapConfiguration result = current;
    result.RLEWTag = tags.rlewTag->Value().value_or(0);
    result.NearTag = tags.nearTag->Value().value_or(0);
    result.FarTag = tags.farTag->Value().value_or(0);
    result.ExtendedMapNames = extendedNames->isChecked();
    result.WDCCompatibleMaps = wdc->isChecked();
    chosen = result;
    box->accept();
}

TMapConfigurationsBox::TMapConfigurationsBox(Prompter& prompter, QWidget* parent)
    : QDialog(parent), d(std::make_unique<Impl>(this, prompter))
{
    d->Build();
}

TMapConfigurationsBox::~TMapConfigurationsBox() = default;

std::optional<MapConfiguration> TMapConfigurationsBox::ShowMapConfigurations(const MapConfiguration& current)
{
    d->current = current;
    d->chosen.reset();
    d->Fill();
    exec();
    return d->chosen;
}

} // namespace tsl
