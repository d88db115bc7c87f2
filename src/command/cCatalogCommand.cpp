#include "command/cCatalogCommand.h"

#include "command/cConsoleProgress.h"
#include "lists/cImageList.h"
#include "common/cOption.h"
#include "common/cProgramPlace.h"
#include "common/modUtil1.h"
#include "run/cCatalogRun.h"
#include "settings/cSettings.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace {
struct Options
{
    QString ini;
    QString out;
    QString input;
    bool gif = true;
    bool jpg = true;
    bool byName = false;
    bool verbose = false;
    bool quiet = false;
    int jobs = 0;
    bool prune = false;
};

// Fills options from the arguments; an empty result means success, else the usage problem.
QString parse(const QStringList &arguments, Options &options, bool &help, bool &version)
{
    QCommandLineParser parser;
    const QCommandLineOption ini(QStringLiteral("ini"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption out(QStringLiteral("out"), QString(), QStringLiteral("FOLDER"));
    const QCommandLineOption noGif(QStringLiteral("no-gif"), QString());
    const QCommandLineOption noJpg(QStringLiteral("no-jpg"), QString());
    const QCommandLineOption sort(QStringLiteral("sort"), QString(), QStringLiteral("KEY"));
    const QCommandLineOption verbose({QStringLiteral("v"), QStringLiteral("verbose")}, QString());
    const QCommandLineOption quiet({QStringLiteral("q"), QStringLiteral("quiet")}, QString());
    const QCommandLineOption jobs(QStringLiteral("jobs"), QString(), QStringLiteral("N"));
    const QCommandLineOption prune(QStringLiteral("prune"), QString());
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption versionOption(QStringLiteral("version"), QString());
    parser.addOptions(
        {ini, out, noGif, noJpg, sort, verbose, quiet, jobs, prune, helpOption, versionOption});
    if (!parser.parse(QStringList{QStringLiteral("qdx-catalog")} + arguments))
        return parser.errorText();
    help = parser.isSet(helpOption);
    version = parser.isSet(versionOption);
    if (parser.isSet(ini))
        options.ini = parser.value(ini);
    options.out = parser.value(out);
    options.gif = !parser.isSet(noGif);
    options.jpg = !parser.isSet(noJpg);
    options.verbose = parser.isSet(verbose);
    options.quiet = parser.isSet(quiet);
    options.prune = parser.isSet(prune);
    if (parser.isSet(jobs)) {
        bool number = false;
        options.jobs = parser.value(jobs).toInt(&number);
        if (!number || options.jobs < 1)
            return QStringLiteral("--jobs takes a number above 0");
    }
    if (parser.isSet(sort)) {
        if (parser.value(sort) != QLatin1String("name"))
            return QStringLiteral("--sort takes only \"name\"");
        options.byName = true;
    }
    const QStringList folders = parser.positionalArguments();
    if (folders.size() > 1)
        return QStringLiteral("only one input folder, please");
    options.input = folders.value(0);
    if (!help && !version && options.input.isEmpty())
        return QStringLiteral("no input folder given");
    return QString();
}
} // namespace

QString cCatalogCommand::usage(const QString &iniDefault)
{
    return QStringLiteral("Usage: qdx-catalog [--ini FILE] [--out FOLDER] [--no-gif] [--no-jpg] "
                          "[--sort name]\n"
                          "                   [--verbose] [--quiet] [--jobs N] [--prune] [--] "
                          "INPUT_FOLDER\n"
                          "Writes the catalog page of the GIF and JPG pictures of INPUT_FOLDER.\n"
                          "  --ini FILE     settings file, only read (default: %1)\n"
                          "  --out FOLDER   where the page goes (default: INPUT_FOLDER, where its "
                          "links work)\n"
                          "  --no-gif       leave out GIF pictures\n"
                          "  --no-jpg       leave out JPG pictures\n"
                          "  --sort name    order the pictures by name, ignoring case (default: "
                          "GIF, then JPG,\n"
                          "                 each in name order)\n"
                          "  --verbose      say which settings and pictures are used\n"
                          "  --quiet        show no progress on a terminal\n"
                          "  --jobs N       make N thumbnails at once (default: one a core)\n"
                          "  --prune        remove what the run before wrote and this one did not\n"
                          "  --help         show this help\n"
                          "  --version      show the version and the licence\n")
        .arg(iniDefault);
}

int cCatalogCommand::run(const QStringList &arguments, const cProgramPlace &place, QTextStream &out,
                         QTextStream &err, bool errIsTerminal)
{
    Options options;
    bool help = false;
    bool version = false;
    const QString problem = parse(arguments, options, help, version);
    if (!problem.isEmpty()) {
        err << "qdx-catalog: " << problem << "\nTry 'qdx-catalog --help'\n";
        return Usage;
    }
    if (help) {
        out << usage(place.settingsFile());
        return Success;
    }
    if (version) {
        out << "qdx-catalog 1.00\nMIT License: free to use, copy, change and share; no warranty.\n";
        return Success;
    }
    // A settings file named on the command line is all the run touches of the user's: the log
    // goes beside it, and the user's own folders are neither made nor filled.
    if (options.ini.isEmpty()) {
        options.ini = place.settingsFile();
        if (!place.prepare())
            err << "qdx-catalog: the settings could not be copied to " << options.ini << "\n";
        modUtil1::setLogFolder(place.logFolder());
    } else {
        modUtil1::setLogFolder(QFileInfo(options.ini).absolutePath());
    }
    const auto fail = [&](const QString &message, const cError &error = cError()) {
        err << "qdx-catalog: " << message << "\n";
        modUtil1::writeLog(true, 0, QStringLiteral("qdx-catalog: ") + message, error);
        return int(Failure);
    };

    if (!QFileInfo::exists(options.ini))
        return fail(QStringLiteral("settings file not found: ") + options.ini);
    try {
        cError unread;
        if (!gOption.iniread(options.ini, &unread))
            return fail(QStringLiteral("settings file ") + options.ini +
                        QStringLiteral(" cannot be read: ") + unread.description());
    } catch (const cError &error) {
        return fail(QStringLiteral("settings file ") + options.ini +
                        QStringLiteral(" cannot be read: ") + error.description(),
                    error);
    }
    if (!QFileInfo(options.input).isDir())
        return fail(QStringLiteral("input folder not found: ") + options.input);

    cImageList list({QStringLiteral("Name")});
    // With links from the output folder, pictures of one name from two folders are two pictures.
    list.setFolderKeys(cSettings(gOption).linksFromOwnFolders());
    const bool showProgress = errIsTerminal && !options.quiet;
    const auto progress = [&](const QString &label) {
        return showProgress ? std::make_unique<cConsoleProgress>(err, label) : nullptr;
    };
    const QString input = modUtil1::folderPath(options.input);
    const QString outPath =
        modUtil1::folderPath(options.out.isEmpty() ? options.input : options.out);
    cCatalogRun run(gOption, options.jobs);
    cCatalogRun::Gathered found = run.gather(
        input, options.gif, options.jpg, outPath, [&progress](cGathering::Step step, qint64) {
            return progress(step == cGathering::Listing ? QStringLiteral("gathering")
                                                        : QStringLiteral("reading dates"));
        });
    // A catalog of part of the folder would look like the whole.
    if (found.problem.failed())
        return fail(found.problem.description() + QStringLiteral("; no page written"),
                    found.problem);
    list.addAll(std::move(found.pictures));
    const auto warn = [&err](const QString &text) {
        err << "qdx-catalog: " << text << "\n";
        modUtil1::writeLog(true, 0, QStringLiteral("qdx-catalog: ") + text);
    };
    for (const QString &warning : std::as_const(found.warnings))
        warn(warning);
    if (options.byName)
        list.sortBy(0, Qt::AscendingOrder);
    if (list.count() == 0)
        return fail(QStringLiteral("no GIF or JPG pictures in ") + options.input +
                    QStringLiteral("; no page written"));
    if (options.verbose) {
        out << "settings: " << options.ini << "\n";
        for (int row = 0; row < list.count(); ++row) {
            const cPicture picture = list.at(row);
            out << picture.type << " " << picture.name << "\n";
        }
    }

    const cCatalogRun::Written written = run.write(
        outPath, list.pictures(), progress(QStringLiteral("writing")).get(), input, options.prune);
    const cCatalogWriter::Result &result = written.result;
    for (const QString &warning : written.warnings)
        warn(warning);
    if (!result.ok) {
        err << "qdx-catalog: the page " << (result.path.isEmpty() ? outPath : result.path)
            << " could not be written (step " << result.marker
            << "): " << result.error.description() << "\n";
        modUtil1::writeLog(true, result.marker, QStringLiteral("CreateMainIndex"), result.error);
        return Failure;
    }
    if (result.pages > 1)
        out << list.count() << " pictures, " << result.pages << " pages written: " << result.path
            << " and the pages after it\n";
    else
        out << list.count() << " pictures, page written: " << result.path << "\n";
    return Success;
}
