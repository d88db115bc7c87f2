#pragma once

#include <QStringList>

class QTextStream;
class cProgramPlace;

// qdx-catalog: gathers a folder's pictures as "Get Images" does, selects them all and writes
// the catalog page, with no window and no display. Reads the settings file, never writes it.
class cCatalogCommand
{
public:
    enum Status { Success = 0, Failure = 1, Usage = 2 };

    // arguments without the program name; place gives the settings file used without --ini, and
    // the log beside it. On a terminal, err also shows how far the work has come (unless
    // --quiet).
    static int run(const QStringList &arguments, const cProgramPlace &place, QTextStream &out,
                   QTextStream &err, bool errIsTerminal = false);
    // The help text, naming the settings file read without --ini.
    static QString usage(const QString &iniDefault);
};
