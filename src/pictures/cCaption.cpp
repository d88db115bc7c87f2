#include "pictures/cCaption.h"

QString cCaption::of(const cPicture &picture, int kind)
{
    const QString title = picture.title().isEmpty() ? picture.name : picture.title();
    const QString taken = picture.taken().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    switch (kind) {
    case Title:
        return title;
    case Taken:
        return taken.isEmpty() ? picture.name : taken;
    case TitleAndTaken:
        return taken.isEmpty() ? title : title + QStringLiteral(" (") + taken + QLatin1Char(')');
    default:
        return picture.name;
    }
}
