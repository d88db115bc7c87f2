#pragma once

#include "cTestFiles.h"
#include "common/cOption.h"
#include "pictures/cPicture.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QMap>
#include <QObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <memory>

// What the catalog tests share: a folder of their own, the settings of a page, pictures made in
// folders, and a headless browser that reads what was written.
class cCatalogTestCase : public QObject
{
protected:
    using ReplaceMap = QMap<QString, QString>;

    // A fresh folder for each case, the log in it.
    void makeFolder();

    QString outPath() const { return m_dir->path() + QDir::separator(); }

    // What a headless browser finds in the page file under site: the judge's script runs over
    // the page, loaded in a frame, and its result is read from the page it writes.
    QJsonObject browserJudgement(const QString &site, const QString &file,
                                 const QByteArray &judge) const
    {
        cTestFiles::write(site + "/judge.htm",
                          QByteArray(R"(<html><body><pre id="result"></pre>
<iframe id="page" src="PAGE"></iframe>
<script>
window.addEventListener('load', function () {
  var doc = document.getElementById('page').contentDocument;
  JUDGE
  document.getElementById('result').textContent = JSON.stringify(result);
});
</script></body></html>)")
                              .replace("PAGE", QUrl::toPercentEncoding(file, "/"))
                              .replace("JUDGE", judge));
        const QString dom = browserDom(site + "/judge.htm");
        const qsizetype start = dom.indexOf("<pre id=\"result\">") + 17;
        QString json = dom.mid(start, dom.indexOf("</pre>", start) - start);
        json.replace("&lt;", "<").replace("&gt;", ">").replace("&amp;", "&");
        return QJsonDocument::fromJson(json.toUtf8()).object();
    }

    // What script, added at the end of a copy of the page beside it, gives to show(), seen in a
    // window of that size.
    QJsonValue probe(const QString &page, const QByteArray &script,
                     const QSize &window = QSize(1280, 900), bool dark = false) const
    {
        const QString copy = page + ".probe.htm";
        cTestFiles::write(
            copy, cTestFiles::read(page).replace("</body>", R"(<script>function show(found) {
  var pre = document.createElement('pre'); pre.id = 'probe';
  pre.textContent = JSON.stringify({found: found}); document.body.appendChild(pre); }</script>)" +
                                                                script + "</body>"));
        const QString dom = browserDom(copy, window, dark);
        QFile::remove(copy);
        const qsizetype start = dom.indexOf("<pre id=\"probe\">") + 16;
        QString json = dom.mid(start, dom.indexOf("</pre>", start) - start);
        json.replace("&lt;", "<").replace("&gt;", ">").replace("&amp;", "&");
        const QJsonObject found = QJsonDocument::fromJson(json.toUtf8()).object();
        if (!found.contains("found"))
            qWarning().noquote() << page << dom.right(2000);
        return found["found"];
    }

    // The page as the browser reads it, a profile of its own and no reliance on a large
    // /dev/shm, as in containers.
    // dark: as a reader who prefers dark pages sees it.
    QString browserDom(const QString &path, const QSize &window = QSize(1280, 900),
                       bool dark = false) const
    {
        QProcess chromium;
        chromium.start(
            QStandardPaths::findExecutable("chromium"),
            {"--headless", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
             "--no-first-run", "--user-data-dir=" + m_dir->filePath("profile"),
             "--allow-file-access-from-files", "--virtual-time-budget=5000",
             QStringLiteral("--blink-settings=preferredColorScheme=%1").arg(dark ? 0 : 1),
             QStringLiteral("--window-size=%1,%2").arg(window.width()).arg(window.height()),
             "--dump-dom", QUrl::fromLocalFile(path).toString()});
        chromium.waitForFinished(120000);
        return QString::fromUtf8(chromium.readAllStandardOutput() +
                                 chromium.readAllStandardError());
    }

    // Pictures in folders below in, in the order of a gathering: a JPEG of 300 by 200, or a tiny
    // GIF.
    QList<cPicture> pictureTree(const QString &in,
                                const QList<std::pair<QString, QString>> &tree) const
    {
        QList<cPicture> pictures;
        for (const auto &[folder, name] : tree) {
            const QString path = QDir::cleanPath(in + "/" + folder) + "/";
            QDir().mkpath(path);
            cTestFiles::write(path + name, name.endsWith(".gif") ? cTestFiles::tinyGif()
                                                                 : cameraJpeg(300, 200, 1));
            pictures.append({QDir::toNativeSeparators(path), name, name.right(3).toUpper()});
        }
        return pictures;
    }

    // Pictures of these names, each in its folder of folders, or else in the output folder.
    QList<cPicture> picturesOf(const QStringList &names,
                               const QStringList &folders = QStringList()) const
    {
        QList<cPicture> pictures;
        for (qsizetype i = 0; i < names.size(); ++i)
            pictures.append({folders.value(i, outPath()), names.at(i),
                             QFileInfo(names.at(i)).suffix().toUpper()});
        return pictures;
    }

    // Every file and folder under the temporary folder but the log.
    QStringList tree() const
    {
        QStringList entries;
        for (QDirIterator it(m_dir->path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                             QDirIterator::Subdirectories);
             it.hasNext();) {
            const QString entry = it.next();
            if (!entry.endsWith(".log"))
                entries.append(entry);
        }
        entries.sort();
        return entries;
    }

    cOption store(const ReplaceMap &changes, const QString &missing = QString())
    {
        ReplaceMap values{{"DOCFILE", "page.htm"}, {"DOCTITLE", "Mine & <yours>"},
                          {"USECSS", "0"},         {"CSSFILE", "(none)"},
                          {"FONTSIZE", " 10 "},    {"COLORBK", "white"},
                          {"TABALIGN", "Center"},  {"TABBORDER", "1"},
                          {"TABCOLORBK", "#EEE"},  {"IMGH", "90"},
                          {"IMGW", "80"},          {"IMGNAME", "0"},
                          {"TABCOLUMN", "4"}};
        for (auto it = changes.cbegin(); it != changes.cend(); ++it)
            values[it.key()] = it.value();
        QByteArray ini = "[Page]\r\n";
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            if (it.key() != missing)
                ini += it.key().toUtf8() + "=d|20|" + it.value().toUtf8() + "\r\n";
        }
        const QString path = m_dir->filePath("QDX.ini");
        cTestFiles::write(path, ini);
        cOption options;
        options.iniread(path);
        // Values stored with surrounding spaces keep them: the reader trims only the line.
        if (values.value("FONTSIZE") == " 10 ")
            options.chgStrVal("FONTSIZE", " 10 ");
        return options;
    }

    // A flat picture stored as a camera stores it, turned by orientation.
    static QByteArray cameraJpeg(int width, int height, int orientation);

    std::unique_ptr<QTemporaryDir> m_dir;
};
