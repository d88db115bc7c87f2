#pragma once

#include "common/cDesktop.h"

class cRealDesktop : public cDesktop
{
public:
    void message(QWidget *parent, const QString &text) override;
    QString chooseFolder(QWidget *parent, const QString &title, const QString &start) override;
    bool openUrl(const QUrl &url) override;
    int showModal(QDialog *dialog) override;
    void beep() override;
    std::unique_ptr<cProgress> progress(QWidget *parent, const QString &label,
                                        qint64 total) override;
};
