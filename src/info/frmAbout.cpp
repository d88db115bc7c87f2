#include "info/frmAbout.h"

#include "info/cClickLabel.h"

frmAbout::frmAbout(QWidget *owner)
    : cInfoWindow(owner, QStringLiteral("frmAbout"), QStringLiteral("About..."), 4725, 2310)
{
    QLabel *title =
        addLabel(this, QStringLiteral("Label1"), QStringLiteral("QDX"), 120, 120, 4455, 615);
    QFont big = defaultFont();
    big.setPointSizeF(13.5);
    big.setBold(true);
    title->setFont(big);
    addLabel(this, QStringLiteral("Label2"), QStringLiteral("Pictorix for the Web"), 480, 840, 3735,
             375);
    addLabel(this, QStringLiteral("Label3"), QStringLiteral("1.00"), 480, 1320, 3135, 375);
}
