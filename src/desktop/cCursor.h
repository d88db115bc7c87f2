#pragma once

class QWidget;

// Shows the hourglass while an operation runs and brings back the previous pointer when the
// object ends, on every exit path. Nested cursors restore in reverse order of creation.
class cCursor
{
public:
    enum Shape { Default = 0, Hourglass = 11 };

    cCursor() = default;
    ~cCursor();
    cCursor(const cCursor &) = delete;
    cCursor &operator=(const cCursor &) = delete;

    // nullptr is the whole application.
    QWidget *Scope() const { return m_scope; }
    void setScope(QWidget *scope) { m_scope = scope; }

    void MousePointer(int shape);
    void wait() { MousePointer(Hourglass); }
    void Revert();

    static int pointer(const QWidget *scope);

private:
    static void setPointer(QWidget *scope, int shape);

    int m_saved = Default;
    QWidget *m_scope = nullptr;
};
