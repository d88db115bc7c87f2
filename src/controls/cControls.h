#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>

class QWidget;

// A window's list of run-time controls: creates them by class identifier ("VB.Label",
// "VB.TextBox", ...) with a name inside a container, finds them and removes them by name.
// Names are unique ignoring case within a name space; the window space also holds the window's
// own controls. Row labels and row fields have spaces of their own, so no settings key can clash
// with a frame, a scroll bar or a control of the window.
class cControls : public QObject
{
    Q_OBJECT
public:
    enum class Space { Window, Labels, Fields };

    // Throws cError for an unknown class or a name already in use. The control starts hidden,
    // at its natural size.
    static QWidget *Add(QWidget *window, const QString &classId, const QString &name,
                        QWidget *container, Space space = Space::Window);
    static QWidget *item(QWidget *window, const QString &name, Space space = Space::Window);
    static void Remove(QWidget *window, const QString &name, Space space = Space::Window);

    // Moves a control into another container, keeping its twips geometry and visibility.
    static void setContainer(QWidget *control, QWidget *container);

private:
    explicit cControls(QWidget *window);
    static cControls &of(QWidget *window);
    static QString key(Space space, const QString &name);

    QHash<QString, QPointer<QWidget>> m_controls;
};
