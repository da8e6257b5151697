#include "mapdefs/ui/TMapConfigurationsBox.h"

#include "editor/Project.h"
#include "mapdefs/ui/HexEdit.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace tsl {

namespace {

constexpr const char* kConfigurationsCaption = "Error create map configurations";
constexpr const char* kGeneral = "General";

} // namespace

struct TMapConfigurationsBox::Impl {
    TMapConfigurationsBox* box;
    Prompter& prompter;
    Project* project = nullptr; // while the dialog is shown
    bool applied = false;

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
    const MapHandler& maps = project->Maps;
    tags.SetValues(maps.RLEWTag, maps.NearTag, maps.FarTag);
    compression.Choose(maps.Compression);
    extendedNames->setChecked(project->Settings->ReadBool(kGeneral, "ExtendedMapNames", false));
    wdc->setChecked(project->Settings->ReadBool(kGeneral, "WDCCompatibleMaps", false));
}

void TMapConfigurationsBox::Impl::Ok()
{
    if (auto message = FirstMissingChoice(compression, tags)) {
        prompter.Message(*message, kConfigurationsCaption, MessageIcon::Error, Buttons::Ok);
        return;
    }
    const int chosenCompression = compression.Chosen();
    const bool extended = extendedNames->isChecked();
    const bool wdcCompatible = wdc->isChecked();

    // The settings file first: when it cannot be written the map set stays
    // as it was, so what is saved never disagrees with what is configured.
    IniFile& settings = *project->Settings;
    IniFile::Batch batch(settings);
    settings.WriteInteger(kGeneral, "Compression", chosenCompression);
    settings.WriteBool(kGeneral, "ExtendedMapNames", extended);
    settings.WriteBool(kGeneral, "WDCCompatibleMaps", wdcCompatible);
    if (!batch.Commit()) {
        prompter.Show(Failure{"Couldn't write the settings file " + settings.Path().string() + "!",
                              kConfigurationsCaption, MessageIcon::Error});
        return;
    }

    MapHandler& maps = project->Maps;
    maps.RLEWTag = static_cast<std::uint16_t>(tags.rlewTag->Value().value_or(0));
    maps.NearTag = static_cast<std::uint16_t>(tags.nearTag->Value().value_or(0));
    maps.FarTag = static_cast<std::uint16_t>(tags.farTag->Value().value_or(0));
    maps.Compression = chosenCompression;
    maps.ExtendedMapNames = extended;
    maps.NameLength = extended ? 32 : 16;
    maps.WDCCompatibleMaps = wdcCompatible;
    applied = true;
    box->accept();
}

TMapConfigurationsBox::TMapConfigurationsBox(Prompter& prompter, QWidget* parent)
    : QDialog(parent), d(std::make_unique<Impl>(this, prompter))
{
    d->Build();
}

TMapConfigurationsBox::~TMapConfigurationsBox() = default;

bool TMapConfigurationsBox::ShowMapConfigurations(Project& project)
{
    if (!project.Settings)
        return false;
    d->project = &project;
    d->applied = false;
    d->Fill();
    exec();
    d->project = nullptr;
    return d->applied;
}

} // namespace tsl
