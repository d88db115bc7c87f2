#include "cTestDesktop.h"

#include "common/cProgress.h"
#include "desktop/cProgressWindow.h"

#include <QDialog>

namespace {
class cTestProgress : public cProgress
{
public:
    cTestProgress(qint64 cancelAfter, int &shown) : m_cancelAfter(cancelAfter), m_shown(shown)
    {
        ++m_shown;
    }
    ~cTestProgress() override { --m_shown; }
    bool step(qint64 done) override { return m_cancelAfter < 0 || done <= m_cancelAfter; }

private:
    qint64 m_cancelAfter;
    int &m_shown;
};
} // namespace

cTestDesktop::cTestDesktop()
{
    cDesktop::install(this);
}

cTestDesktop::~cTestDesktop()
{
    cDesktop::install(nullptr);
}

void cTestDesktop::message(QWidget *, const QString &text)
{
    messages.append(text);
    if (progressShown > 0)
        ++messagesOverProgress;
}

QString cTestDesktop::chooseFolder(QWidget *, const QString &title, const QString &start)
{
    folderTitles.append(title);
    folderStarts.append(start);
    return folderAnswers.isEmpty() ? QString() : folderAnswers.takeFirst();
}

bool cTestDesktop::openUrl(const QUrl &url)
{
    urls.append(url);
    return openSucceeds;
}

int cTestDesktop::showModal(QDialog *dialog)
{
    modalWindows.append(dialog->objectName());
    return onModal ? onModal(dialog) : QDialog::Rejected;
}

std::unique_ptr<cProgress> cTestDesktop::progress(QWidget *parent, const QString &label,
                                                  qint64 total)
{
    progressLabels.append(label);
    if (realProgress)
        return std::make_unique<cProgressWindow>(parent, label, total);
    return std::make_unique<cTestProgress>(cancelAfter, progressShown);
}
