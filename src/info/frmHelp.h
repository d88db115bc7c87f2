#pragma once

#include <QDialog>
#include <QList>

class cClickLabel;

// The help topics: a heading and one entry per line of the help source "QDX.hlp" in the current
// directory, indented by level; entries with a web or mail target open it when clicked. The
// window grows to fit its entries and never shrinks.
class frmHelp : public QDialog
{
    Q_OBJECT
public:
    explicit frmHelp(QWidget *owner = nullptr);

    // Builds the list from the help source; a missing source leaves the heading alone. A topic
    // may also name a page shipped beside the source (the user guide), opened as an address is.
    void Form_Load(const QString &source = QStringLiteral("QDX.hlp"));
    void item_Click(int index);

    int count() const { return int(item.size()); }
    cClickLabel *entry(int index) const { return item.at(index); }
    float widthTwips() const { return m_width; }
    float heightTwips() const { return m_height; }

private:
    void addTopic(const QString &line);
    void fitWindow();

    QList<cClickLabel *> item;
    QString m_folder; // the help source's, from which a topic may name a page of its own
    float m_width = 5370;
    float m_height = 3450;
};
