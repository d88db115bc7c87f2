#pragma once

#include <QString>

// The author's card, shown by the author window and signed into every catalog page.
struct cAuthor
{
    static QString name() { return QStringLiteral("QDX Project"); }
    static QString street() { return QStringLiteral("12 Example Lane"); }
    static QString town() { return QStringLiteral("00000 Sampletown (XX)"); }
    static QString mail() { return QStringLiteral("info@qdx.example.org"); }
    static QString webHost() { return QStringLiteral("www.qdx.example.org"); }
    static QString workOne() { return QStringLiteral("Web catalogs (galleries, shops)"); }
    static QString workTwo() { return QStringLiteral("Small tools for everyday pictures"); }
    static QString workThree() { return QStringLiteral("Our own tools: QDX"); }
    static QString workFour() { return QStringLiteral("Help with HTML and style sheets"); }
    static QString motto() { return QStringLiteral("Simple tools, done with care."); }
};
