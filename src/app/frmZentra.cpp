#include "app/frmZentra.h"

#include "common/cDesktop.h"
#include "common/cOption.h"
#include "common/cProgress.h"
#include "common/modUtil1.h"
#include "desktop/cCursor.h"
#include "desktop/cTwips.h"
#include "info/frmAbout.h"
#include "info/frmAuthor.h"
#include "info/frmHelp.h"
#include "lists/cImageList.h"
#include "options/frmOptions.h"
#include "settings/cSettings.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QTableView>
#include <QUrl>
#include <new>

namespace {
const QString inKey = QStringLiteral("INPATH");
const QString outKey = QStringLiteral("OUTPATH");
const QString gifKey = cSettings::name(cSettings::GifType);
const QString jpgKey = cSettings::name(cSettings::JpgType);

bool keepsTypes()
{
    return cSettings(gOption).keepsTypes();
}
} // namespace

frmZentra::frmZentra(const QString &programFolder, QWidget *parent)
    : frmZentra(cProgramPlace::portable(programFolder), parent)
{
}

frmZentra::frmZentra(const cProgramPlace &place, QWidget *parent)
    : QMainWindow(parent), m_place(place), m_run(gOption),
      m_found(new cImageList({QStringLiteral("Name"), QStringLiteral("Type")}, this)),
      m_selected(new cImageList({QStringLiteral("Name")}, this)), m_client(new QWidget(this))
{
    setObjectName(QStringLiteral("frmZentra"));
    setCentralWidget(m_client);
    m_client->setFixedSize(cTwips::toPixels(8265), cTwips::toPixels(5580));

    addLabel(QStringLiteral("Label4"), QStringLiteral("IN Path:"), 120, 120, 735, 255);
    txtInPath = addField(QStringLiteral("txtInPath"), 1080, 120, 3855, 285);
    QPushButton *cmdInPath = addButton(QStringLiteral("cmdInPath"), QStringLiteral("..."), 5040,
                                       120, 255, 255, &frmZentra::cmdInPath_Click);
    QPushButton *cmdGetFiles =
        addButton(QStringLiteral("cmdGetFiles"), QStringLiteral("Get Images"), 5400, 120, 2775, 255,
                  &frmZentra::cmdGetFiles_Click);
    addLabel(QStringLiteral("Label9"), QStringLiteral("Files Type:"), 120, 600, 855, 255);
    chkGif = new QCheckBox(QStringLiteral("Gif"), m_client);
    chkGif->setObjectName(QStringLiteral("chkGif"));
    chkGif->setChecked(true);
    cTwips::place(chkGif, 1080, 600, 735, 195);
    chkJpg = new QCheckBox(QStringLiteral("Jpg"), m_client);
    chkJpg->setObjectName(QStringLiteral("chkJpg"));
    cTwips::place(chkJpg, 2160, 600, 735, 195);
    connect(chkGif, &QCheckBox::toggled, this, [this](bool on) { typeChosen(gifKey, on); });
    connect(chkJpg, &QCheckBox::toggled, this, [this](bool on) { typeChosen(jpgKey, on); });
    addLine(QStringLiteral("Line7"), 120, 960, 8040, 15);

    ListView1 = addList(QStringLiteral("ListView1"), m_found, 120, 1080, 2535, 3495);
    // The names take the width the short types leave.
    ListView1->horizontalHeader()->setStretchLastSection(false);
    ListView1->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    ListView1->setColumnWidth(1,
                              ListView1->fontMetrics().horizontalAdvance(QStringLiteral("Type")) +
                                  cTwips::toPixels(240));
    ListView1->horizontalHeader()->setSectionsClickable(true);
    // An item selected by the keyboard previews as a clicked one does.
    connect(ListView1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) {
                m_previewedByPress = true;
                ListView1_ItemClick(current);
            });
    connect(ListView1, &QTableView::clicked, this, [this](const QModelIndex &index) {
        if (!m_previewedByPress)
            ListView1_ItemClick(index);
    });
    ListView1->viewport()->installEventFilter(this);
    ListView1->installEventFilter(this);
    connect(ListView1->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &frmZentra::ListView1_ColumnClick);
    QPushButton *cmdAdd = addButton(QStringLiteral("cmdAdd"), QStringLiteral(">"), 2640, 1080, 375,
                                    615, &frmZentra::cmdAdd_Click);
    QPushButton *cmdDel = addButton(QStringLiteral("cmdDel"), QStringLiteral("<"), 2640, 1680, 375,
                                    615, &frmZentra::cmdDel_Click);
    QPushButton *cmdAddAll = addButton(QStringLiteral("cmdAddAll"), QStringLiteral(">>"), 2640,
                                       3360, 375, 615, &frmZentra::cmdAddAll_Click);
    QPushButton *cmdDelAll = addButton(QStringLiteral("cmdDelAll"), QStringLiteral("<<"), 2640,
                                       3960, 375, 615, &frmZentra::cmdDelAll_Click);
    ListView2 = addList(QStringLiteral("ListView2"), m_selected, 3000, 1080, 1455, 3495);
    ListView2->setColumnWidth(0, cTwips::toPixels(1440));
    ListView2->installEventFilter(this);
    addLine(QStringLiteral("Line6"), 4560, 1080, 15, 3960);

    ImgPreview = new QLabel(m_client);
    ImgPreview->setObjectName(QStringLiteral("ImgPreview"));
    ImgPreview->setScaledContents(true);
    cTwips::place(ImgPreview, 4680, 1080, 3495, 3495);
    m_preview = new cPreviewLoader(ImgPreview->size(), this);
    connect(m_preview, &cPreviewLoader::ready, this, &frmZentra::showPreview);

    txtNfiles = addField(QStringLiteral("txtNfiles"), 1440, 4680, 1215, 285);
    txtNsel = addField(QStringLiteral("txtNsel"), 3240, 4680, 1215, 285);
    for (QLineEdit *counter : {txtNfiles, txtNsel}) {
        counter->setReadOnly(true);
        counter->setText(QStringLiteral("0"));
    }
    addLabel(QStringLiteral("Label5"), QStringLiteral("H"), 4680, 4680, 135, 255);
    lblH = addLabel(QStringLiteral("lblH"), QStringLiteral("0"), 4920, 4680, 1215, 255);
    addLabel(QStringLiteral("Label8"), QStringLiteral("W"), 6720, 4680, 255, 255);
    lblW = addLabel(QStringLiteral("lblW"), QStringLiteral("0"), 6960, 4680, 1215, 255);
    addLine(QStringLiteral("Line3"), 120, 5040, 8040, 15);

    addLabel(QStringLiteral("Label3"), QStringLiteral("OUT Path:"), 120, 5160, 855, 255);
    txtOutPath = addField(QStringLiteral("txtOutPath"), 1080, 5160, 3855, 285);
    QPushButton *cmdOutPath = addButton(QStringLiteral("cmdOutPath"), QStringLiteral("..."), 5040,
                                        5160, 255, 255, &frmZentra::cmdOutPath_Click);
    QPushButton *cmdGen =
        addButton(QStringLiteral("CmdGenFiles"), QStringLiteral("Generate Catalog"), 5400, 5160,
                  2775, 255, &frmZentra::CmdGenFiles_Click);
    cmdGen->setToolTip(QStringLiteral("Estrae i files HTM dal LST"));

    connect(txtInPath, &QLineEdit::textChanged, this,
            [this] { folderChanged(inKey, getInPath()); });
    connect(txtOutPath, &QLineEdit::textChanged, this,
            [this] { folderChanged(outKey, getOutPath()); });

    setTabOrder({cmdOutPath, txtOutPath, cmdGen, txtInPath, cmdInPath, cmdGetFiles, txtNfiles,
                 chkGif, chkJpg, ListView1, ListView2, cmdAdd, cmdDel, txtNsel, cmdAddAll,
                 cmdDelAll});
    cmdOutPath->setFocus(); // the first of the tab order, not the first created

    txtInPath->setAccessibleName(QStringLiteral("IN Path:"));
    txtOutPath->setAccessibleName(QStringLiteral("OUT Path:"));
    cmdInPath->setAccessibleName(QStringLiteral("Browse for the input folder"));
    cmdOutPath->setAccessibleName(QStringLiteral("Browse for the output folder"));
    cmdAdd->setAccessibleName(QStringLiteral("Select the current picture"));
    cmdDel->setAccessibleName(QStringLiteral("Remove the current selected picture"));
    cmdAddAll->setAccessibleName(QStringLiteral("Select every picture found"));
    cmdDelAll->setAccessibleName(QStringLiteral("Remove every selected picture"));
    txtNfiles->setAccessibleName(QStringLiteral("Pictures found"));
    txtNsel->setAccessibleName(QStringLiteral("Pictures selected"));
    ListView1->setAccessibleName(QStringLiteral("Pictures found"));
    ListView2->setAccessibleName(QStringLiteral("Pictures selected"));
    ImgPreview->setAccessibleName(QStringLiteral("Preview"));
    lblH->setAccessibleName(QStringLiteral("Preview height"));
    lblW->setAccessibleName(QStringLiteral("Preview width"));
    buildMenus();
}

QLabel *frmZentra::addLabel(const QString &name, const QString &text, int left, int top, int width,
                            int height)
{
    auto *label = new QLabel(text, m_client);
    label->setObjectName(name);
    cTwips::placeFitting(label, left, top, width, height);
    return label;
}

QLineEdit *frmZentra::addField(const QString &name, int left, int top, int width, int height)
{
    auto *field = new QLineEdit(m_client);
    field->setObjectName(name);
    cTwips::place(field, left, top, width, height);
    return field;
}

QPushButton *frmZentra::addButton(const QString &name, const QString &text, int left, int top,
                                  int width, int height, void (frmZentra::*handler)())
{
    auto *button = new QPushButton(text, m_client);
    button->setObjectName(name);
    cTwips::place(button, left, top, width, height);
    connect(button, &QPushButton::clicked, this, handler);
    return button;
}

QTableView *frmZentra::addList(const QString &name, cImageList *model, int left, int top, int width,
                               int height)
{
    // A report list: whole rows, left-aligned headers, no grid. A table keeps no structure for
    // each row, so taking one out of a million or refilling them all costs no pass over the rest.
    auto *list = new QTableView(m_client);
    list->setObjectName(name);
    list->setModel(model);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setTabKeyNavigation(false);
    list->setShowGrid(false);
    list->setWordWrap(false);
    list->setCornerButtonEnabled(false);
    QHeaderView *rows = list->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(0);
    rows->setDefaultSectionSize(list->fontMetrics().height() + 4);
    QHeaderView *columns = list->horizontalHeader();
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    columns->setHighlightSections(false);
    columns->setStretchLastSection(true);
    columns->setSectionsClickable(false);
    cTwips::place(list, left, top, width, height);
    return list;
}

void frmZentra::addLine(const QString &name, int left, int top, int width, int height)
{
    auto *line = new QFrame(m_client);
    line->setObjectName(name);
    line->setFrameShape(width > height ? QFrame::HLine : QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    cTwips::place(line, left, top, width, height);
}

void frmZentra::buildMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    QAction *options =
        file->addAction(QStringLiteral("Preferences..."), this, &frmZentra::mnuOptions_Click);
    options->setObjectName(QStringLiteral("mnuOptions"));
    options->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    file->addSeparator()->setObjectName(QStringLiteral("sep3"));
    QAction *quit = file->addAction(QStringLiteral("Quit"), this, &QWidget::close);
    quit->setObjectName(QStringLiteral("mnuQuit"));
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu *help = menuBar()->addMenu(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("mnu__Help"));
    help->addAction(QStringLiteral("About..."), this, &frmZentra::mnuAbout_Click)
        ->setObjectName(QStringLiteral("mnuAbout"));
    help->addAction(QStringLiteral("Author..."), this, &frmZentra::mnuAuthor_Click)
        ->setObjectName(QStringLiteral("mnuAuthor"));
    QAction *topics = help->addAction(QStringLiteral("Help..."), this, &frmZentra::mnuHelp_Click);
    topics->setObjectName(QStringLiteral("mnuHelp"));
    topics->setShortcut(QKeySequence(Qt::Key_F1));
}

void frmZentra::setTabOrder(const QList<QWidget *> &order)
{
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
}

void frmZentra::Form_Load()
{
    setWindowTitle(QStringLiteral("QDX") + QStringLiteral(" - ") +
                   QStringLiteral("Pictorix for the Web"));
    const QString iniPath = m_place.settingsFile();
    if (!m_place.prepare())
        modUtil1::writeLog(
            false, 0, QStringLiteral("Form_Load: the settings could not be copied to ") + iniPath);
    bool found = true;
    try {
        found = gOption.iniread(iniPath);
    } catch (const cError &error) {
        modUtil1::writeLog(false, 0, QStringLiteral("Form_Load: ") + iniPath, error);
    }
    QStringList missing;
    fillFolder(txtOutPath, outKey, missing);
    fillFolder(txtInPath, inKey, missing);
    if (keepsTypes()) {
        for (const auto &[box, key] :
             {std::pair{chkGif, cSettings::GifType}, std::pair{chkJpg, cSettings::JpgType}}) {
            // Restored, not chosen: nothing to write back at start-up.
            const QSignalBlocker quiet(box);
            if (gOption.hasKey(cSettings::name(key)))
                box->setChecked(cSettings(gOption).isOn(key));
        }
    }
    if (!found)
        modUtil1::writeLog(false, 0, QStringLiteral("Settings file not found: ") + iniPath);
    else if (!missing.isEmpty())
        modUtil1::writeLog(false, 0,
                           QStringLiteral("Form_Load: missing settings ") + missing.join(", "),
                           cError::invalidArgument());
    mnuAuthor_Click();
}

void frmZentra::fillFolder(QLineEdit *field, const QString &key, QStringList &missing)
{
    if (!gOption.hasKey(key)) {
        missing.append(key);
        return;
    }
    curPath = gOption.getStrVal(key);
    field->setText(curPath == QLatin1String(".") ? m_place.dotFolder() + QDir::separator()
                                                 : curPath);
}

void frmZentra::typeChosen(const QString &key, bool on)
{
    if (!keepsTypes() || !gOption.hasKey(key))
        return;
    gOption.chgStrVal(key, on ? QStringLiteral("1") : QStringLiteral("0"));
    gOption.iniwrite();
}

void frmZentra::folderChanged(const QString &key, const QString &path)
{
    // A folder whose key the settings file lacks is used but not stored.
    if (!gOption.hasKey(key))
        return;
    try {
        gOption.chgStrVal(key, path);
    } catch (const cError &error) {
        // A folder name with a line break cannot be stored; the field keeps it, and says so once.
        if (!m_refused.contains(key))
            modUtil1::writeLog(false, 0, QStringLiteral("Folder not stored: ") + key, error);
        m_refused.insert(key);
        return;
    }
    m_refused.remove(key);
    gOption.iniwrite();
}

QString frmZentra::getInPath() const
{
    return modUtil1::folderPath(txtInPath->text());
}

QString frmZentra::getOutPath() const
{
    return modUtil1::folderPath(txtOutPath->text());
}

void frmZentra::cmdInPath_Click()
{
    browse(txtInPath, QString());
}

void frmZentra::cmdOutPath_Click()
{
    // Where the catalog goes is chosen from where it goes now, not from the pictures' folder
    // browsed last.
    browse(txtOutPath, getOutPath());
}

void frmZentra::browse(QLineEdit *field, const QString &start)
{
    const QString chosen =
        cDesktop::current().chooseFolder(this, QStringLiteral("Seleziona la cartella:"), start);
    // Cancelling keeps the folder the field had.
    if (chosen.isEmpty())
        return;
    curPath = chosen + QDir::separator();
    field->setText(curPath);
}

void frmZentra::cmdGetFiles_Click()
{
    cCursor cursor;
    cursor.wait();
    int marker = 0;
    try {
        m_found->clear();
        // A cancel keeps what was listed.
        useFolderKeys();
        const QString folder = getInPath();
        m_gatheredFrom = folder;
        // With subfolders the lists show where below the input folder each picture lies.
        const QString shownBelow = cSettings(gOption).gathersSubfolders() ? folder : QString();
        m_found->setShownBelow(shownBelow);
        m_selected->setShownBelow(shownBelow);
        cCatalogRun::Gathered found = m_run.gather(
            folder, chkGif->isChecked(), chkJpg->isChecked(), getOutPath(),
            [this](cGathering::Step step, qint64 total) {
                return cDesktop::current().progress(
                    this,
                    step == cGathering::Listing ? QStringLiteral("Gathering pictures:")
                                                : QStringLiteral("Reading dates and titles:"),
                    total);
            });
        marker = 51;
        const int gathered = m_found->addAll(std::move(found.pictures));
        marker = 52;
        for (const QString &warning : std::as_const(found.warnings))
            modUtil1::writeLog(false, 0, QStringLiteral("cmdGetFiles: ") + warning);
        if (found.problem.failed())
            throw found.problem;
        txtNfiles->setText(QString::number(gathered));
    } catch (const cError &error) {
        // A folder that could not be read whole: what was gathered stays.
        modUtil1::writeLog(false, marker, QStringLiteral("cmdGetFiles"), error);
    } catch (const std::bad_alloc &) {
        // A folder too large for the memory left: what was gathered stays.
        modUtil1::writeLog(false, marker, QStringLiteral("cmdGetFiles"),
                           cError(cError::OutOfMemory, QStringLiteral("Out of memory")));
    }
    showSelectedCount();
}

void frmZentra::cmdAdd_Click()
{
    const QModelIndex current = ListView1->currentIndex();
    if (!current.isValid())
        return;
    useFolderKeys();
    m_selected->add(m_found->at(current.row()));
    showSelectedCount();
}

void frmZentra::cmdDel_Click()
{
    const QModelIndex current = ListView2->currentIndex();
    if (!current.isValid())
        return;
    m_selected->removeAt(current.row());
    showSelectedCount();
}

void frmZentra::cmdAddAll_Click()
{
    useFolderKeys();
    const std::unique_ptr<cProgress> progress =
        cDesktop::current().progress(this, QStringLiteral("Selecting pictures:"), m_found->count());
    // The found items go in as they are: the selected list shows no type.
    m_selected->addAll(*m_found, progress.get());
    showSelectedCount();
}

void frmZentra::useFolderKeys()
{
    // With links from the output folder, pictures of one name from two folders are two pictures.
    const bool fromOwnFolders = cSettings(gOption).linksFromOwnFolders();
    m_found->setFolderKeys(fromOwnFolders);
    m_selected->setFolderKeys(fromOwnFolders);
}

void frmZentra::cmdDelAll_Click()
{
    m_selected->clear();
    showSelectedCount();
}

void frmZentra::showSelectedCount()
{
    txtNsel->setText(QString::number(m_selected->count()));
}

bool frmZentra::eventFilter(QObject *watched, QEvent *event)
{
    // A press starts anew: the click that ends it previews unless the press already did.
    if (event->type() == QEvent::MouseButtonPress && watched == ListView1->viewport())
        m_previewedByPress = false;
    // Home and End go to the first and the last picture, as in a report list, not sideways.
    if (event->type() == QEvent::KeyPress && (watched == ListView1 || watched == ListView2)) {
        const auto *key = static_cast<QKeyEvent *>(event);
        auto *list = static_cast<QTableView *>(watched);
        const int rows = list->model()->rowCount();
        if ((key->key() == Qt::Key_Home || key->key() == Qt::Key_End) &&
            key->modifiers() == Qt::NoModifier && rows > 0) {
            list->setCurrentIndex(
                list->model()->index(key->key() == Qt::Key_Home ? 0 : rows - 1, 0));
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmZentra::ListView1_ItemClick(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    // Decoded ahead: the next two pictures the way the user last went.
    const int row = index.row();
    const int step = row < m_previewRow ? -1 : 1;
    m_previewRow = row;
    QStringList ahead;
    for (int next = row + step; ahead.size() < 2 && next >= 0 && next < m_found->count();
         next += step)
        ahead.append(m_found->at(next).path());
    m_preview->request(m_found->at(row).path(), ahead);
}

void frmZentra::showPreview(const QString &path, const cPreviewLoader::Preview &preview)
{
    if (preview.image.isNull()) {
        clearPreview();
        modUtil1::writeLog(
            false, 0, QStringLiteral("Preview: ") + path + QStringLiteral(": ") + preview.problem);
        return;
    }
    ImgPreview->setPixmap(QPixmap::fromImage(preview.image));
    lblH->setText(previewText(preview.upright.height()));
    lblW->setText(previewText(preview.upright.width()));
}

void frmZentra::clearPreview()
{
    ImgPreview->clear();
    lblH->setText(QStringLiteral("0"));
    lblW->setText(QStringLiteral("0"));
}

QString frmZentra::previewText(int pixels)
{
    // The picture object reports whole hundredths of a millimetre.
    const double himetric = std::round(pixels * 2540.0 / cTwips::dpi());
    QLocale locale = QLocale::system();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(himetric / 567.0, 'g', 15).left(10);
}

void frmZentra::ListView1_ColumnClick(int column)
{
    sortDescending = !sortDescending;
    try {
        m_found->sortBy(column, sortDescending ? Qt::DescendingOrder : Qt::AscendingOrder);
    } catch (const std::bad_alloc &) {
        cDesktop::current().message(this, QStringLiteral("Errore: Out of memory"));
    }
}

void frmZentra::CmdGenFiles_Click()
{
    std::unique_ptr<cProgress> progress = cDesktop::current().progress(
        this, QStringLiteral("Writing the catalog:"), m_selected->count());
    // A cancel leaves every page as it was, and there is nothing to report.
    const cCatalogRun::Written written =
        m_run.write(getOutPath(), m_selected->pictures(), progress.get(), m_gatheredFrom);
    const cCatalogWriter::Result &result = written.result;
    // Gone before anything is said, or it would stand over the message.
    progress.reset();
    if (!result.ok)
        modUtil1::writeLog(false, result.marker, QStringLiteral("CreateMainIndex"), result.error);
    // Each picture is in the log; one message tells how many.
    for (const QString &warning : written.warnings)
        modUtil1::writeLog(false, 0, QStringLiteral("CreateMainIndex: ") + warning);
    // Shown at once, so that a catalog written does not look like nothing done.
    if (result.ok && result.pages > 0 && cSettings(gOption).showsPage() &&
        !cDesktop::current().openUrl(QUrl::fromLocalFile(QDir::fromNativeSeparators(result.path))))
        cDesktop::current().message(this, pageNotShown(result.path));
}

QString frmZentra::pageNotShown(const QString &page)
{
    // Qt only tells standard error why; the usual reason is one the user can mend.
    const QString reason =
        QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty()
            ? QStringLiteral("no program on this computer opens web pages (xdg-utils is not "
                             "installed)")
            : QStringLiteral("the desktop found no program to open it");
    return QStringLiteral("The catalog was written: ") + QDir::toNativeSeparators(page) +
           QStringLiteral("\nIt could not be shown, as ") + reason + QLatin1Char('.');
}

void frmZentra::mnuOptions_Click()
{
    frmOptions options(this);
    try {
        options.Form_Load();
    } catch (const std::exception &error) {
        // The dialog opens as far as it was built.
        modUtil1::writeLog(false, 0,
                           QStringLiteral("mnuOptions: ") + QString::fromLocal8Bit(error.what()));
    }
    cDesktop::current().showModal(&options);
}

void frmZentra::mnuHelp_Click()
{
    frmHelp topics(this);
    topics.Form_Load(m_place.helpSource());
    cDesktop::current().showModal(&topics);
}

void frmZentra::mnuAbout_Click()
{
    frmAbout about(this);
    cDesktop::current().showModal(&about);
}

void frmZentra::mnuAuthor_Click()
{
    frmAuthor author(this);
    cDesktop::current().showModal(&author);
}
