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
    // The next page and its picture come while this one is looked at.
    if (content.viewer && !content.next.isEmpty())
        file.line("<link rel=\"prefetch\" href=\"", content.next, "\">");
    if (content.viewer && !content.nextPicture.isEmpty())
        file.line("<link rel=\"prefetch\" href=\"", content.nextPicture, "\">");
    file.line("</head>");
    file.line("<body class=\"qdx-picture",
              content.schemes ? QStringLiteral(" qdx-schemes") : QString(),
              content.viewer ? QStringLiteral(" qdx-viewer") : QString(), "\">");
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
    if (content.viewer)
        file.line("  var link = document.getElementById({ArrowLeft: 'previous', ArrowRight: "
                  "'next', Escape: 'back'}[event.key]);");
    else
        file.line("  var link = document.getElementById({ArrowLeft: 'previous', ArrowRight: "
                  "'next'}[event.key]);");
    file.line(
        "  if (link && !event.altKey && !event.ctrlKey && !event.metaKey && !event.shiftKey)");
    file.line("    location.href = link.href;");
    file.line("});");
    if (content.viewer) {
        // A swipe to the left is the next picture, to the right the previous; a short one or a
        // mostly upright one is a scroll.
        file.line("var start = null;");
        file.line("document.addEventListener('touchstart', function (event) {");
        file.line("  start = event.changedTouches[0]; }, {passive: true});");
        file.line("document.addEventListener('touchend', function (event) {");
        file.line("  if (!start) return;");
        file.line("  var dx = event.changedTouches[0].clientX - start.clientX;");
        file.line("  var dy = event.changedTouches[0].clientY - start.clientY;");
        file.line("  start = null;");
        file.line("  var link = Math.abs(dx) > 50 && Math.abs(dx) > 2 * Math.abs(dy) &&");
        file.line("    document.getElementById(dx < 0 ? 'next' : 'previous');");
        file.line("  if (link) location.href = link.href;");
        file.line("});");
    }
    file.line("</script>");
    file.line("</body>");
    file.line("</html>");
    file.close();
}
