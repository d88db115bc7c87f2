#include "catalog/cCatalogPage.h"

#include "catalog/cPageFile.h"
#include "catalog/cPictureLinks.h"
#include "common/cAuthor.h"
#include "common/cOption.h"
#include "common/modUtil1.h"
#include "settings/cSettings.h"

#include <QFile>
#include <algorithm>

cCatalogPage::cCatalogPage(const cOption &options, cPageFile &file, int &marker)
    : m_options(options), m_file(file), m_marker(marker),
      m_cellColour(options, QStringLiteral("TABCOLORBK")),
      m_height(options, QStringLiteral("IMGH")), m_width(options, QStringLiteral("IMGW")),
      m_nameShown(options, QStringLiteral("IMGNAME")),
      m_columns(options, QStringLiteral("TABCOLUMN")),
      m_ownSize(cSettings(options).thumbnailsAtOwnSize()),
      m_forPhones(cSettings(options).forPhones()), m_rowHeight(cSettings(options).rowHeight()),
      m_schemes(cSettings(options).followsSchemes())
{
}

const QString &cCatalogPage::styleSheetName()
{
    static const QString name = QStringLiteral("qdx.css");
    return name;
}

QByteArray cCatalogPage::styleSheet()
{
    QFile file(QStringLiteral(":/pages/qdx.css"));
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void cCatalogPage::beginForPhones(cPageFile &file)
{
    file.line("<!DOCTYPE html>");
    file.line("<html lang=\"en\">");
    file.line("<head>");
    file.line("<meta charset=\"utf-8\">");
    file.line("<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">");
}

void cCatalogPage::linkStyleSheet(cPageFile &file, const QString &toTop, bool schemes)
{
    if (schemes)
        file.line("<meta name=\"color-scheme\" content=\"light dark\">");
    file.line("<link rel=\"stylesheet\" href=\"", toTop, styleSheetName(), "\">");
}

QString cCatalogPage::attribute(const QString &text)
{
    QString safe = cPictureLinks::shownName(text);
    safe.replace(QLatin1Char('"'), QLatin1String("&quot;"));
    return safe;
}

bool cCatalogPage::settingsAreAscii(const cOption &options)
{
    for (const char *key : {"DOCTITLE", "CSSFILE", "FONTSIZE", "COLORBK", "TABBORDER", "TABCOLORBK",
                            "IMGH", "IMGW"}) {
        const QString name = QString::fromLatin1(key);
        if (options.hasKey(name) && !modUtil1::isAscii(options.getStrVal(name)))
            return false;
    }
    return true;
}

void cCatalogPage::describe(cPageFile &file, const Head &head)
{
    if (!head.description.isEmpty())
        file.line("<meta name=\"description\" content=\"", attribute(head.description), "\">");
    if (!head.title.isEmpty())
        file.line("<meta property=\"og:title\" content=\"", attribute(head.title), "\">");
    if (!head.image.isEmpty())
        file.line("<meta property=\"og:image\" content=\"", head.image, "\">");
}

void cCatalogPage::begin(const QString &path, bool declareUtf8, const QString &above,
                         const QString &toTop, const Head &head)
{
    m_marker = 1;
    m_column = 1;
    m_rowFull = false;
    m_firstRow = true;
    m_file.open(path);
    if (m_forPhones) {
        beginForPhones(m_file);
    } else {
        m_file.line("<html>");
        m_file.line("<head>");
        if (declareUtf8)
            m_file.line("<meta charset=\"utf-8\">");
    }
    m_file.line(markLine());
    m_file.line(comment(cAuthor::name()));
    m_file.line(comment(cAuthor::webHost()));
    if (head.title.isEmpty()) {
        m_file.line("  <title>", m_options.getStrVal(QStringLiteral("DOCTITLE")), "</title>");
    } else {
        m_file.line("  <title>", cPictureLinks::shownName(head.title), "</title>");
        describe(m_file, head);
    }
    const QString styleSheet = m_options.getStrVal(QStringLiteral("CSSFILE"));
    const QString fontSize = m_options.getStrVal(QStringLiteral("FONTSIZE"));
    addCss(styleSheet, fontSize);
    if (m_forPhones) {
        linkStyleSheet(m_file, toTop, m_schemes);
        addSettingsStyle();
        m_file.line("</head>");
        if (m_schemes)
            m_file.line("<body class=\"qdx-schemes\">");
        else
            m_file.line("<body>");
    } else {
        m_file.line("</head>");
        m_file.line("<body bgcolor=\"", m_options.getStrVal(QStringLiteral("COLORBK")), "\">");
    }

    m_marker = 5;
    QString align = m_options.getStrVal(QStringLiteral("TABALIGN")).toLower();
    if (align != QLatin1String("center") && align != QLatin1String("right"))
        align = QStringLiteral("left");
    if (m_forPhones)
        m_file.line("<div class=\"qdx-", align, "\">");
    else
        m_file.line("<div align=\"", align, "\">");
    if (!above.isEmpty())
        m_file.line(above);
    if (m_rowHeight > 0)
        m_file.line("<table class=\"qdx qdx-rows\" role=\"presentation\">");
    else if (m_forPhones)
        m_file.line("<table class=\"qdx\" role=\"presentation\">");
    else
        m_file.line("<table border=", m_options.getStrVal(QStringLiteral("TABBORDER")), ">");
    m_file.line("<tr>");
    m_marker = 10;
}

void cCatalogPage::addSettingsStyle()
{
    const auto plain = [](const QString &value, bool digitsOnly) {
        const QString trimmed = value.trimmed();
        const bool fits =
            !trimmed.isEmpty() && std::all_of(trimmed.cbegin(), trimmed.cend(), [&](QChar c) {
                return c.unicode() < 0x80 &&
                       (c.isDigit() || (!digitsOnly && (c.isLetter() || c == QLatin1Char('#'))));
            });
        return fits ? trimmed : QString();
    };
    // Only values that are what they say: a setting can never end the style element.
    QString rules;
    if (const QString colour = plain(m_options.getStrVal(QStringLiteral("COLORBK")), false);
        !colour.isEmpty())
        rules += QStringLiteral("body{background-color:") + colour + QLatin1Char('}');
    if (const QString colour = plain(m_cellColour.text(), false); !colour.isEmpty())
        rules += QStringLiteral("table.qdx td{background-color:") + colour + QLatin1Char('}');
    if (const QString border = plain(m_options.getStrVal(QStringLiteral("TABBORDER")), true);
        !border.isEmpty())
        rules += QStringLiteral("table.qdx td{border-width:") + border + QStringLiteral("px}");
    // "TABCOLUMN" is the most cells a row holds: each cell is as wide as a thumbnail's box, the
    // cells' block as wide as that many, and a narrower screen flows them into fewer.
    const QString columns = plain(m_columns.text(), true);
    const QString width = plain(m_width.text(), true);
    if (m_rowHeight <= 0 && !columns.isEmpty() && !width.isEmpty() && columns.toInt() > 0 &&
        width.toInt() > 0)
        rules += QStringLiteral("table.qdx td{width:%1px}table.qdx>tbody{max-width:calc(%2*(%3px "
                                "+ 0.6em) + %4*0.5em)}")
                     .arg(width.toInt() + 2)
                     .arg(columns.toInt())
                     .arg(width.toInt() + 4)
                     .arg(columns.toInt() - 1);
    if (!rules.isEmpty() && m_schemes)
        m_file.line("<style>@media (prefers-color-scheme: light){", rules, "}</style>");
    else if (!rules.isEmpty())
        m_file.line("<style>", rules, "</style>");
}

void cCatalogPage::cell(const Cell &cell)
{
    if (m_rowFull) {
        m_file.line("</tr><tr>");
        m_rowFull = false;
        m_firstRow = false;
    }
    // In a full row each cell grows as wide as its picture at the row's height is: the pictures
    // of a row end up as high as each other, and the row as wide as the page.
    const int rowWidth = m_rowHeight <= 0 ? 0
                         : cell.thumbnail.isEmpty()
                             ? m_rowHeight
                             : std::max(1, int(qint64(m_rowHeight) * cell.thumbnail.width() /
                                               std::max(1, cell.thumbnail.height())));
    if (rowWidth > 0)
        m_file.line("<td style=\"flex:", QByteArray::number(rowWidth), " 1 ",
                    QByteArray::number(rowWidth), "px\">");
    else if (m_forPhones)
        m_file.line("<td>");
    else
        m_file.line("<td bgcolor=\"", m_cellColour.utf8(), "\">");
    m_file.line(" <a href=\"", cell.link, "\">");
    // "THUMBSIZE" gives a thumbnail its own size, as full rows do.
    const bool ownSize = !cell.thumbnail.isEmpty() && (m_ownSize || m_rowHeight > 0);
    const QByteArray height =
        ownSize ? QByteArray::number(cell.thumbnail.height()) : m_height.utf8();
    const QByteArray width = ownSize ? QByteArray::number(cell.thumbnail.width()) : m_width.utf8();
    if (m_forPhones) {
        const QString twice = cell.twice.isEmpty() ? QString()
                                                   : QStringLiteral("\" srcset=\"") + cell.twice +
                                                         QStringLiteral(" 2x");
        m_file.line("  <img src=\"", cell.source, twice, "\" alt=\"", attribute(cell.name),
                    "\" loading=\"lazy\" decoding=\"async\" height=", height, " width=", width,
                    ">");
    } else {
        m_file.line("  <img src=\"", cell.source, "\" border=1 height=", height, " width=", width,
                    ">");
    }
    m_marker = 11;
    if (cell.album || m_nameShown.number() == 1)
        m_file.line("<br>", cPictureLinks::shownName(cell.name));
    m_marker = 12;
    m_file.line(" </a>");
    m_file.line("</td>");
    m_marker = 13;
    if (m_column < m_columns.number()) {
        ++m_column;
    } else {
        m_marker = 14;
        m_column = 1;
        if (m_forPhones)
            m_rowFull = true;
        else
            m_file.line("</tr><tr>");
    }
}

void cCatalogPage::end(const QString &navigation)
{
    m_marker = 20;
    for (int column = m_column;
         m_forPhones && !m_firstRow && column > 1 && column <= m_columns.number(); ++column)
        m_file.line("<td></td>");
    m_file.line("</tr>");
    m_file.line("</table>");
    if (!navigation.isEmpty())
        m_file.line(navigation);
    m_file.line("</div>");
    m_file.line("</body></html>");
    m_marker = 22;
    m_file.close();
}

void cCatalogPage::addCss(const QString &styleSheet, const QString &fontSize)
{
    if (m_options.getIntVal(QStringLiteral("USECSS")) != 1) {
        m_file.line("<!-- no css selected -->");
        return;
    }
    if (!styleSheet.isEmpty() && styleSheet != QLatin1String("(none)")) {
        m_file.line("<link rel=\"stylesheet\" type=\"Text/css\" href=\"", styleSheet, ".css\">");
        return;
    }
    m_file.line("<STYLE TYPE=\"Text/css\">");
    m_file.line("<!--");
    m_file.line("PRE {display: inline; color: blue; font-name: courier new; font-size: ",
                fontSize.trimmed(), "pt}");
    m_file.line("// -->");
    m_file.line("</STYLE>");
}

QString cCatalogPage::markLine()
{
    return comment(QStringLiteral("Quadrix v.1.00"));
}

QString cCatalogPage::comment(const QString &field)
{
    return QStringLiteral("  <!-- ") + field.leftJustified(21, QLatin1Char(' '), true) +
           QStringLiteral(" -->");
}
