#include "app/cCatalogPage.h"

#include "app/cPageFile.h"
#include "app/cPictureLinks.h"
#include "common/cAuthor.h"
#include "common/cOption.h"
#include "common/modUtil1.h"

cCatalogPage::cCatalogPage(const cOption &options, cPageFile &file, int &marker)
    : m_options(options), m_file(file), m_marker(marker),
      m_cellColour(options, QStringLiteral("TABCOLORBK")),
      m_thumbnailSize(options, QStringLiteral("THUMBSIZE")),
      m_height(options, QStringLiteral("IMGH")), m_width(options, QStringLiteral("IMGW")),
      m_nameShown(options, QStringLiteral("IMGNAME")),
      m_columns(options, QStringLiteral("TABCOLUMN"))
{
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

void cCatalogPage::begin(const QString &path, bool declareUtf8, const QString &above)
{
    m_marker = 1;
    m_column = 1;
    m_file.open(path);
    m_file.line("<html>");
    m_file.line("<head>");
    if (declareUtf8)
        m_file.line("<meta charset=\"utf-8\">");
    m_file.line(comment(QStringLiteral("Quadrix v.1.00")));
    m_file.line(comment(cAuthor::name()));
    m_file.line(comment(cAuthor::webHost()));
    m_file.line("  <title>", m_options.getStrVal(QStringLiteral("DOCTITLE")), "</title>");
    const QString styleSheet = m_options.getStrVal(QStringLiteral("CSSFILE"));
    const QString fontSize = m_options.getStrVal(QStringLiteral("FONTSIZE"));
    addCss(styleSheet, fontSize);
    m_file.line("</head>");
    m_file.line("<body bgcolor=\"", m_options.getStrVal(QStringLiteral("COLORBK")), "\">");

    m_marker = 5;
    const QString align = m_options.getStrVal(QStringLiteral("TABALIGN")).toLower();
    if (align == QLatin1String("center"))
        m_file.line("<div align=\"center\">");
    else if (align == QLatin1String("right"))
        m_file.line("<div align=\"right\">");
    else
        m_file.line("<div align=\"left\">");
    if (!above.isEmpty())
        m_file.line(above);
    m_file.line("<table border=", m_options.getStrVal(QStringLiteral("TABBORDER")), ">");
    m_file.line("<tr>");
    m_marker = 10;
}

void cCatalogPage::cell(const Cell &cell)
{
    m_file.line("<td bgcolor=\"", m_cellColour.utf8(), "\">");
    m_file.line(" <a href=\"", cell.link, "\">");
    // "THUMBSIZE" gives a thumbnail its own size.
    const bool ownSize = !cell.thumbnail.isEmpty() && m_thumbnailSize.number() == 1;
    m_file.line("  <img src=\"", cell.source, "\" border=1 height=",
                ownSize ? QByteArray::number(cell.thumbnail.height()) : m_height.utf8(),
                " width=", ownSize ? QByteArray::number(cell.thumbnail.width()) : m_width.utf8(),
                ">");
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
        m_file.line("</tr><tr>");
    }
}

void cCatalogPage::end(const QString &navigation)
{
    m_marker = 20;
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

QString cCatalogPage::comment(const QString &field)
{
    return QStringLiteral("  <!-- ") + field.leftJustified(21, QLatin1Char(' '), true) +
           QStringLiteral(" -->");
}
