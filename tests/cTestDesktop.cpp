#include "cTestDesktop.h"

#include <QDialog>

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
}

QString cTestDesktop::chooseFolder(QWidget *, const QString &title)
{
    folderTitles.append(title);
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
