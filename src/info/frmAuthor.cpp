#include "info/frmAuthor.h"

#include "common/cAuthor.h"
#include "desktop/cTwips.h"
#include "info/cClickLabel.h"

#include <QFrame>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QUrl>

frmAuthor::frmAuthor(QWidget *owner)
    : cInfoWindow(owner, QStringLiteral("frmAuthor"),
                  QStringLiteral("From the author of Program..."), 4890, 5385)
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(size());
    useLightBackground(this);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    QFrame *card = addFrame(QStringLiteral("Frame1"), 120, 120, 4695, 1695);
    cClickLabel *name =
        addLabel(card, QStringLiteral("Label2"), cAuthor::name(), 240, 240, 1215, 255);
    makeLink(name);
    connect(name, &cClickLabel::clicked, this, &frmAuthor::Label2_Click);
    addLabel(card, QStringLiteral("Label3"), cAuthor::street(), 480, 480, 1695, 255);
    addLabel(card, QStringLiteral("Label4"), cAuthor::town(), 480, 720, 2895, 255);
    addLabel(card, QStringLiteral("Label8"), QStringLiteral("Email:"), 480, 1080, 495, 255);
    addLabel(card, QStringLiteral("Label6"), cAuthor::mail(), 1320, 1080, 1935, 255);
    addLabel(card, QStringLiteral("Label7"), QStringLiteral("Internet:"), 480, 1320, 615, 255);
    cClickLabel *web =
        addLabel(card, QStringLiteral("Label5"), cAuthor::webHost(), 1320, 1320, 1335, 255);
    makeLink(web);
    connect(web, &cClickLabel::clicked, this, &frmAuthor::Label5_Click);

    QFrame *work = addFrame(QStringLiteral("Frame2"), 120, 1800, 4695, 1335);
    addLabel(work, QStringLiteral("Label9"), cAuthor::workOne(), 240, 240, 3375, 255);
    addLabel(work, QStringLiteral("Label10"), cAuthor::workTwo(), 240, 480, 4095, 255);
    addLabel(work, QStringLiteral("Label11"), cAuthor::workThree(), 240, 720, 3255, 255);
    addLabel(work, QStringLiteral("Label12"), cAuthor::workFour(), 240, 960, 4335, 255);

    auto *motto = new cClickLabel(cAuthor::motto(), this);
    motto->setObjectName(QStringLiteral("Label1"));
    QFont bold = defaultFont();
    bold.setBold(true);
    motto->setFont(bold);
    // Wrapped over its four lines it fits its design width; it must not widen to one line.
    motto->setWordWrap(true);
    cTwips::place(motto, 1560, 3360, 1575, 975);
    motto->setStyleSheet(QStringLiteral("color: #FF0000"));

    auto *close = new QPushButton(QStringLiteral("O K"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    cTwips::place(close, 120, 5040, 4695, 255);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

QFrame *frmAuthor::addFrame(const QString &name, int left, int top, int width, int height)
{
    auto *frame = new QFrame(this);
    frame->setObjectName(name);
    frame->setFrameShape(QFrame::Box);
    cTwips::place(frame, left, top, width, height);
    return frame;
}

void frmAuthor::makeLink(QLabel *label)
{
    QFont font = defaultFont();
    font.setUnderline(true);
    label->setFont(font);
    label->setStyleSheet(QStringLiteral("color: #0000FF"));
    label->setCursor(Qt::PointingHandCursor);
}

void frmAuthor::Label2_Click()
{
    openLink(this, QUrl(QStringLiteral("mailto:") + cAuthor::mail()));
}

void frmAuthor::Label5_Click()
{
    openLink(this, QUrl(QStringLiteral("http://") + cAuthor::webHost() + QLatin1Char('/')));
}
