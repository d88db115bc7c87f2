#pragma once

#include "common/cProgramPlace.h"
#include "pictures/cPreviewLoader.h"
#include "run/cCatalogRun.h"

#include <QMainWindow>
#include <QSet>

class cImageList;
class QCheckBox;
class QLabel;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QTableView;

// The main window: the two folder fields, the found and selected lists with their buttons and
// counters, the preview and the menus that open the other windows.
class frmZentra : public QMainWindow
{
    Q_OBJECT
public:
    // Runs from programFolder, which holds QDX.ini, as the program's own folder does.
    explicit frmZentra(const QString &programFolder, QWidget *parent = nullptr);
    explicit frmZentra(const cProgramPlace &place, QWidget *parent = nullptr);

    // Start-up: loads the settings, fills the folder fields and shows the author window.
    void Form_Load();

    QString getInPath() const;
    QString getOutPath() const;

    // The first 10 characters of a natural picture length in pixels, in the list's unit.
    static QString previewText(int pixels);
    // What is said when the catalog written could not be shown: that it was written, where, and
    // why it was not shown.
    static QString pageNotShown(const QString &page);

    void cmdGetFiles_Click();
    void cmdAdd_Click();
    void cmdDel_Click();
    void cmdAddAll_Click();
    void cmdDelAll_Click();
    void ListView1_ItemClick(const QModelIndex &index);
    void ListView1_ColumnClick(int column);
    void CmdGenFiles_Click();
    void cmdInPath_Click();
    void cmdOutPath_Click();
    void mnuOptions_Click();
    void mnuAbout_Click();
    void mnuAuthor_Click();
    void mnuHelp_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *addLabel(const QString &name, const QString &text, int left, int top, int width,
                     int height);
    QLineEdit *addField(const QString &name, int left, int top, int width, int height);
    QPushButton *addButton(const QString &name, const QString &text, int left, int top, int width,
                           int height, void (frmZentra::*handler)());
    QTableView *addList(const QString &name, cImageList *model, int left, int top, int width,
                        int height);
    void addLine(const QString &name, int left, int top, int width, int height);
    void buildMenus();
    void setTabOrder(const QList<QWidget *> &order);

    void fillFolder(QLineEdit *field, const QString &key, QStringList &missing);
    void folderChanged(const QString &key, const QString &path);
    // With "KEEPTYPES", the picture types chosen are stored for the next start.
    void typeChosen(const QString &key, bool on);
    void browse(QLineEdit *field, const QString &start);
    void showSelectedCount();
    void useFolderKeys();
    void showPreview(const QString &path, const cPreviewLoader::Preview &preview);
    void clearPreview();

    cProgramPlace m_place;
    QString curPath;
    bool sortDescending = false;
    bool m_previewedByPress = false;
    int m_previewRow = -1;
    QSet<QString> m_refused; // folder keys whose last text could not be stored

    cCatalogRun m_run;      // keeps what it read, so a folder gathered again is not read again
    QString m_gatheredFrom; // the input folder last gathered: the top album
    cImageList *m_found;
    cImageList *m_selected;
    QWidget *m_client;
    QLineEdit *txtInPath;
    QLineEdit *txtOutPath;
    QCheckBox *chkGif;
    QCheckBox *chkJpg;
    QTableView *ListView1;
    QTableView *ListView2;
    QLabel *ImgPreview;
    cPreviewLoader *m_preview;
    QLineEdit *txtNfiles;
    QLineEdit *txtNsel;
    QLabel *lblH;
    QLabel *lblW;
};
