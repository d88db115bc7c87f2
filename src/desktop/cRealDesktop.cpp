#include "desktop/cRealDesktop.h"

#include "desktop/cProgressWindow.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

void cRealDesktop::message(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, caption(), text, QMessageBox::Ok, parent);
    box.exec();
}

QString cRealDesktop::chooseFolder(QWidget *parent, const QString &title, const QString &start)
{
    return QDir::toNativeSeparators(QFileDialog::getExistingDirectory(
        parent, title, start, QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks));
}

bool cRealDesktop::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

int cRealDesktop::showModal(QDialog *dialog)
{
    return dialog->exec();
}

void cRealDesktop::beep()
{
    QApplication::beep();
}

std::unique_ptr<cProgress> cRealDesktop::progress(QWidget *parent, const QString &label,
                                                  qint64 total)
{
    return std::make_unique<cProgressWindow>(parent, label, total);
}
