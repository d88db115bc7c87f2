#include "info/frmHelp.h"

#include "common/cTextFile.h"
#include "desktop/cTwips.h"
#include "info/cClickLabel.h"
#include "info/cHelpSource.h"
#include "info/cInfoWindow.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

frmHelp::frmHelp(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Help..."));
    cInfoWindow::useLightBackground(this);
    auto *heading = new cClickLabel(QStringLiteral("Help Topics"), this);
    heading->setObjectName(QStringLiteral("item0"));
    cTwips::place(heading, 120, 120, 1815, 255);
    item.append(heading);
    connect(heading, &cClickLabel::clicked, this, [this] { item_Click(0); });
    fitWindow();
}

void frmHelp::Form_Load(const QString &source)
{
    const QString path = QDir::current().filePath(source);
    m_folder = QFileInfo(path).absolutePath();
    for (const QString &line : cTextFile::readLines(path)) {
        if (!line.isEmpty())
            addTopic(line);
    }
    fitWindow();
}

void frmHelp::addTopic(const QString &line)
{
    const cHelpSource::Topic topic = cHelpSource::topic(line);
    const cClickLabel *previous = item.last();
    const cClickLabel *first = item.first();
    auto *entry = new cClickLabel(this);
    const int index = int(item.size());
    entry->setObjectName(QStringLiteral("item%1").arg(index));
    entry->hide();
    entry->setFont(first->font());
    cTwips::place(entry, cTwips::left(first), cTwips::top(first), cTwips::width(first),
                  cTwips::height(first));
    entry->setText(topic.title);
    cTwips::setTop(entry, cTwips::top(previous) + 230);
    entry->setProperty("Tag", topic.target);
    entry->setStyleSheet(topic.target.isEmpty() ? QStringLiteral("color: #000000")
                                                : QStringLiteral("color: #0000FF"));
    const float textWidth =
        float(cTwips::fromPixels(entry->fontMetrics().horizontalAdvance(topic.title)));
    if (textWidth > cTwips::width(entry))
        cTwips::setWidth(entry, textWidth + 100);
    cTwips::setLeft(entry, cTwips::left(entry) + 200 * topic.level);
    if (topic.level >= 2 && topic.level <= 4) {
        QFont italic = entry->font();
        italic.setItalic(true);
        entry->setFont(italic);
    }
    entry->setToolTip(topic.target);
    entry->show();
    m_width = std::max(m_width, cTwips::left(entry) + cTwips::width(entry) + 500);
    m_height = std::max(m_height, cTwips::top(entry) + 230 + 500);
    item.append(entry);
    connect(entry, &cClickLabel::clicked, this, [this, index] { item_Click(index); });
}

void frmHelp::fitWindow()
{
    resize(cTwips::toPixels(m_width), cTwips::toPixels(m_height));
}

void frmHelp::item_Click(int index)
{
    if (index <= 0 || index >= count())
        return;
    const QString target = item.at(index)->property("Tag").toString();
    if (cHelpSource::opens(target))
        cInfoWindow::openLink(this, QUrl(target));
    else if (const QString page = cHelpSource::localPage(m_folder, target); !page.isEmpty())
        cInfoWindow::openLink(this, QUrl::fromLocalFile(page));
}
