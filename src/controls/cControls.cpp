#include "controls/cControls.h"

#include "common/modUtil1.h"

#include "common/cError.h"
#include "desktop/cTwips.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

namespace {
QWidget *create(const QString &classId)
{
    if (classId == QLatin1String("VB.Frame"))
        return new QFrame;
    if (classId == QLatin1String("VB.HScrollBar"))
        return new QScrollBar(Qt::Horizontal);
    if (classId == QLatin1String("VB.VScrollBar"))
        return new QScrollBar(Qt::Vertical);
    if (classId == QLatin1String("VB.CommandButton"))
        return new QPushButton;
    if (classId == QLatin1String("VB.Label"))
        return new QLabel;
    if (classId == QLatin1String("VB.TextBox"))
        return new QLineEdit;
    if (classId == QLatin1String("VB.CheckBox"))
        return new QCheckBox;
    throw cError(cError::InvalidClassString, QStringLiteral("Invalid class string: ") + classId);
}
} // namespace

cControls::cControls(QWidget *window) : QObject(window)
{
    setObjectName(QStringLiteral("qdxControls"));
    // The window's own controls take their names first.
    for (QWidget *control : window->findChildren<QWidget *>()) {
        if (!control->objectName().isEmpty())
            m_controls.insert(key(Space::Window, control->objectName()), control);
    }
}

cControls &cControls::of(QWidget *window)
{
    auto *controls =
        window->findChild<cControls *>(QStringLiteral("qdxControls"), Qt::FindDirectChildrenOnly);
    return controls ? *controls : *new cControls(window);
}

QString cControls::key(Space space, const QString &name)
{
    return QString::number(int(space)) + QLatin1Char(':') + modUtil1::foldCase(name);
}

QWidget *cControls::Add(QWidget *window, const QString &classId, const QString &name,
                        QWidget *container, Space space)
{
    cControls &controls = of(window);
    const QString controlKey = key(space, name);
    if (controls.m_controls.value(controlKey))
        throw cError(cError::ControlNameTaken,
                     QStringLiteral("There is already a control with the name '") + name +
                         QLatin1Char('\''));
    QWidget *control = create(classId);
    control->setObjectName(name);
    control->setParent(container ? container : window);
    control->hide();
    const QSize natural = control->sizeHint();
    cTwips::place(control, 0, 0, float(cTwips::fromPixels(natural.width())),
                  float(cTwips::fromPixels(natural.height())));
    controls.m_controls.insert(controlKey, control);
    return control;
}

QWidget *cControls::item(QWidget *window, const QString &name, Space space)
{
    return of(window).m_controls.value(key(space, name));
}

void cControls::Remove(QWidget *window, const QString &name, Space space)
{
    cControls &controls = of(window);
    QPointer<QWidget> control = controls.m_controls.take(key(space, name));
    if (!control)
        throw cError(cError::ControlNotFound,
                     QStringLiteral("Control '") + name + QStringLiteral("' not found"));
    delete control.data();
}

void cControls::setContainer(QWidget *control, QWidget *container)
{
    const bool hidden = control->isHidden();
    control->setParent(container);
    cTwips::setLeft(control, cTwips::left(control));
    control->setHidden(hidden);
}
