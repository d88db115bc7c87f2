#include "settings/cSettings.h"

#include "common/cOption.h"

#include <QMutex>
#include <QSet>

namespace {
constexpr int text = 1; // lowest above highest: no range
constexpr int none = 0;

// Absent, empty or 0, each key leaves the page as it always was.
constexpr std::array<cSettings::Definition, cSettings::keyCount> definitions = {{
    {cSettings::PageSize, "PAGESIZE", "Page", "Pictures per page (0: all)", 5, "0", 0, 99999},
    {cSettings::RowHeight, "ROWHEIGHT", "Table", "Full rows this high (0: grid)", 4, "0", 0, 2000},
    {cSettings::RelLinks, "RELLINKS", "Page", "Links from any output folder", -1, "0", 0, 1},
    {cSettings::Headings, "HEADINGS", "Page", "Pages say where they are", -1, "0", 0, 1},
    {cSettings::Schemes, "SCHEMES", "Page", "Dark pages for dark settings", -1, "0", 0, 1},
    {cSettings::Caption, "CAPTION", "Thumbnails", "Caption 0 name 1 title 2 date 3 all", 1, "0", 0,
     3},
    {cSettings::ThumbDir, "THUMBDIR", "Thumbnails", "Thumbnail folder (empty: none)", 20, "", text,
     none},
    {cSettings::ThumbSize, "THUMBSIZE", "Thumbnails", "Thumbnails at their own size", -1, "0", 0,
     1},
    {cSettings::CopySize, "COPYSIZE", "Web", "Web copies' long edge (0: none)", 5, "0", 0, 16384},
    {cSettings::CopyDir, "COPYDIR", "Web", "Web copy folder", 20, "web", text, none},
    {cSettings::CopyFacts, "COPYFACTS", "Web", "Copies keep date and copyright", -1, "0", 0, 1},
    {cSettings::Phones, "PHONES", "Web", "Pages for phones, screen readers", -1, "0", 0, 1},
    {cSettings::PicturePages, "PICTUREPAGES", "Web", "A page for each picture", -1, "0", 0, 1},
    {cSettings::Viewer, "VIEWER", "Web", "Picture pages as a viewer", -1, "0", 0, 1},
    {cSettings::ShowPage, "SHOWPAGE", "Program", "Show the catalog once written", -1, "0", 0, 1},
    {cSettings::KeepTypes, "KEEPTYPES", "Program", "Keep the picture types chosen", -1, "0", 0, 1},
    {cSettings::Order, "ORDER", "Program", "Order: 0 type, 1 name, 2 date", 1, "0", 0, 2},
    {cSettings::MoreTypes, "MORETYPES", "Program", "Further picture types", 40, "", text, none},
    {cSettings::Subfolders, "SUBFOLDERS", "Program", "Gather the subfolders too", -1, "0", 0, 1},
    {cSettings::Albums, "ALBUMS", "Program", "Albums: 1 by folder, 2 by month", 1, "0", 0, 2},
    {cSettings::SayPlace, "SAYPLACE", "Program", "Warn of pictures with a place", -1, "0", 0, 1},
    {cSettings::Prune, "PRUNE", "Program", "Remove files no longer written", -1, "0", 0, 1},
    {cSettings::GifType, "GIFTYPE", "Program", "Gather GIF pictures", 0, "1", 0, 1},
    {cSettings::JpgType, "JPGTYPE", "Program", "Gather JPG pictures", 0, "0", 0, 1},
}};

QMutex problemsLock;
QSet<QString> problemsSaid;
QStringList problemsNew;

void say(const QString &problem)
{
    const QMutexLocker lock(&problemsLock);
    if (!problemsSaid.contains(problem)) {
        problemsSaid.insert(problem);
        problemsNew.append(problem);
    }
}
} // namespace

const std::array<cSettings::Definition, cSettings::keyCount> &cSettings::table()
{
    static_assert(
        [] {
            for (int i = 0; i < keyCount; ++i) {
                if (definitions[size_t(i)].key != i)
                    return false;
            }
            return true;
        }(),
        "the table lists the keys in their order");
    return definitions;
}

QString cSettings::name(Key key)
{
    return QLatin1String(definitions[size_t(key)].name);
}

cSettings::cSettings(const cOption &options) : m_options(options) {}

QString cSettings::text(Key key) const
{
    const QString stored = name(key);
    const QString value =
        m_options.hasKey(stored) ? m_options.getStrVal(stored).trimmed() : QString();
    return value.isEmpty() ? QLatin1String(definitions[size_t(key)].fallback) : value;
}

int cSettings::number(Key key) const
{
    const Definition &definition = definitions[size_t(key)];
    const QString value = text(key);
    bool isNumber = false;
    const qlonglong read = value.toLongLong(&isNumber);
    if (isNumber && read >= definition.lowest && read <= definition.highest)
        return int(read);
    say(QStringLiteral("%1=%2 is not a number from %3 to %4; %5 is used")
            .arg(name(key), value)
            .arg(definition.lowest)
            .arg(definition.highest)
            .arg(QLatin1String(definition.fallback)));
    return QString::fromLatin1(definition.fallback).toInt();
}

QString cSettings::copyFolder() const
{
    return copySize() > 0 ? text(CopyDir) : QString();
}

QStringList cSettings::takeProblems()
{
    const QMutexLocker lock(&problemsLock);
    return std::exchange(problemsNew, {});
}
