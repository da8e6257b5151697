#include "editor/ui/views/Cursors.h"

#include <QHash>
#include <QPixmap>

// The resources live in a static library: they must be registered by hand.
static void InitCursorResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace tsl {

namespace {

QHash<QString, QCursor>& Registry()
{
    static QHash<QString, QCursor> cursors;
    return cursors;
}

struct CursorArt {
    const char* name;
    int hotX;
    int hotY; // where the cursor acts: the pencil's tip, the drop of paint, ...
};
constexpr CursorArt kCursors[] = {
    {"Pencil", 0, 31},
    {"Flood", 2, 25},
    {"Pick", 0, 30},
    {"Select", 15, 14},
};

} // namespace

void RegisterCursors()
{
    InitCursorResources();
    for (const CursorArt& art : kCursors) {
        const QPixmap picture(QStringLiteral(":/cursors/%1.png").arg(art.name));
        if (!picture.isNull())
            Registry().insert(art.name, QCursor(picture, art.hotX, art.hotY));
    }
}

QCursor CursorNamed(const QString& name)
{
    return Registry().value(name, QCursor(Qt::ArrowCursor));
}

QPixmap CursorPicture(const QString& name)
{
    InitCursorResources();
    return QPixmap(QStringLiteral(":/cursors/%1.png").arg(name));
}

bool CursorRegistered(const QString& name)
{
    return Registry().contains(name);
}

} // namespace tsl
