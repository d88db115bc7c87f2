#include "catalog/cPicturePage.h"

#include "catalog/cCatalogPage.h"
#include "catalog/cDateSpan.h"
#include "catalog/cPageFile.h"
#include "catalog/cPictureLinks.h"

void cPicturePage::write(cPageFile &file, const QString &path, const Content &content)
{
    const QString caption = cPictureLinks::shownName(content.caption);
    file.open(path);
    cCatalogPage::beginForPhones(file);
    file.line(cCatalogPage::markLine());
    file.line("<title>", caption, "</title>");
    if (content.describes)
        cCatalogPage::describe(file,
                               {content.caption,
                                content.taken.isValid() ? cDateSpan::day(content.taken) : QString(),
                                content.picture});
    cCatalogPage::linkStyleSheet(file, content.toTop, content.schemes);
    file.line("</head>");
    if (content.schemes)
        file.line("<body class=\"qdx-picture qdx-schemes\">");
    else
        file.line("<body class=\"qdx-picture\">");
    file.line("<nav>");
    if (!content.previous.isEmpty())
        file.line("<a id=\"previous\" rel=\"prev\" href=\"", content.previous,
                  "\">&lt; previous</a>");
    file.line("<a id=\"back\" href=\"", content.back, "\">back to the catalog</a>");
    if (!content.next.isEmpty())
        file.line("<a id=\"next\" rel=\"next\" href=\"", content.next, "\">next &gt;</a>");
    file.line("</nav>");
    file.line("<main>");
    file.line("<figure>");
    const QString size = content.size.isEmpty() ? QString()
                                                : QStringLiteral(" width=\"%1\" height=\"%2\"")
                                                      .arg(content.size.width())
                                                      .arg(content.size.height());
    file.line("<img src=\"", content.picture, "\" alt=\"", cCatalogPage::attribute(content.caption),
              "\"", size, ">");
    if (content.taken.isValid())
        file.line("<figcaption>", caption, " <time datetime=\"",
                  content.taken.toString(Qt::ISODate), "\">", cDateSpan::day(content.taken),
                  "</time></figcaption>");
    else
        file.line("<figcaption>", caption, "</figcaption>");
    file.line("</figure>");
    file.line("</main>");
    // The arrow keys follow the links, unless a key held with them means something else.
    file.line("<script>");
    file.line("document.addEventListener('keydown', function (event) {");
    file.line("  var link = document.getElementById({ArrowLeft: 'previous', ArrowRight: "
              "'next'}[event.key]);");
    file.line(
        "  if (link && !event.altKey && !event.ctrlKey && !event.metaKey && !event.shiftKey)");
    file.line("    location.href = link.href;");
    file.line("});");
    file.line("</script>");
    file.line("</body>");
    file.line("</html>");
    file.close();
}
