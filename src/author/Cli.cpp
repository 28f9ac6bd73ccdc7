#include "author/Cli.h"

#include "author/Check.h"
#include "author/Import.h"
#include "author/NewProject.h"
#include "author/ProjectWriter.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace author {

namespace {

struct Command {
    QString Name;
    QString Summary;
    QString Arguments;
    QString ArgumentHelp;
};

const std::vector<Command> &commands() {
    static const std::vector<Command> list{
        {QStringLiteral("check"), QStringLiteral("Report what is wrong with a help project."),
         QStringLiteral("PROJECT.vlp|FOLDER"),
         QStringLiteral("The project file, or the help folder that holds it.")},
        {QStringLiteral("import"),
         QStringLiteral("Write a .vlp from an HTML Help (.hhp, .hhc) or Qt Help (.qhp) project."),
         QStringLiteral("SOURCE"),
         QStringLiteral("An .hhp, .hhc or .qhp file; the .vlp goes beside it.")},
        {QStringLiteral("new"), QStringLiteral("Write a starter .vlp for a folder of HTML pages."),
         QStringLiteral("FOLDER"),
         QStringLiteral("The folder of pages; the .vlp goes into it, named after it.")},
    };
    return list;
}

const QCommandLineOption jsonOption(QStringLiteral("json"),
                                    QStringLiteral("Print the findings as JSON lines."));
const QCommandLineOption werrorOption(QStringLiteral("werror"),
                                      QStringLiteral("Count warnings as errors."));
const QCommandLineOption outputOption(QStringList{QStringLiteral("o"), QStringLiteral("output")},
                                      QStringLiteral("Write the project to FILE."),
                                      QStringLiteral("FILE"));
const QCommandLineOption forceOption(QStringLiteral("force"),
                                     QStringLiteral("Overwrite an existing project file."));

// The parser of one command, with its options; also what `vlp help COMMAND` prints.
void describe(QCommandLineParser &parser, const Command &command) {
    parser.setApplicationDescription(command.Summary);
    parser.addHelpOption();
    parser.addPositionalArgument(command.Name, QStringLiteral("The command."));
    parser.addPositionalArgument(command.Arguments, command.ArgumentHelp);
    if (command.Name == u"check") {
        parser.addOption(jsonOption);
        parser.addOption(werrorOption);
    } else {
        parser.addOption(outputOption);
        parser.addOption(forceOption);
    }
}

QString overview() {
    QString text = QStringLiteral("Usage: vlp COMMAND [options] ARGUMENTS\n"
                                  "The author's tool for Vellumo help projects.\n\nCommands:\n");
    for (const Command &command : commands())
        text += QStringLiteral("  %1 %2\n      %3\n")
                    .arg(command.Name, command.Arguments, command.Summary);
    text += QStringLiteral("  help COMMAND\n      Describe a command.\n\n"
                           "Options:\n  -h, --help     Display this help.\n"
                           "  -v, --version  Display the version.\n");
    return text;
}

// What `vlp help COMMAND` prints: the parser's help, named "vlp" whatever path ran it.
QString helpText(const QCommandLineParser &parser) {
    QString text = parser.helpText();
    static const QRegularExpression usage(QStringLiteral("^Usage: .*?(?= \\[options\\])"));
    return text.replace(usage, QStringLiteral("Usage: vlp"));
}

int runCheck(const QCommandLineParser &parser, QTextStream &out, QTextStream &err) {
    const QStringList arguments = parser.positionalArguments();
    if (arguments.size() != 2) {
        err << "vlp check: name one project file or folder\n";
        return 2;
    }
    const Findings findings = CheckProject(arguments[1]);
    bool failed = false;
    for (const Finding &finding : findings) {
        out << (parser.isSet(jsonOption) ? JsonLine(finding) : CompilerForm(finding)) << '\n';
        failed = failed || finding.Level == Severity::Error || parser.isSet(werrorOption);
    }
    return failed ? 1 : 0;
}

// Writes what an import or `vlp new` built, and says what it did. The targets are relative
// to `pages`, the folder the project file has to stand in.
int writeResult(const BuildResult &result, const QString &pages, const QString &defaultOut,
                const QCommandLineParser &parser, QTextStream &out, QTextStream &err) {
    const QString name = parser.positionalArguments().value(0);
    const QString target = parser.isSet(outputOption) ? parser.value(outputOption) : defaultOut;
    // The viewer finds the pages in the project file's own folder.
    const auto canonical = [](const QString &folder) {
        const QFileInfo info(folder);
        return info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    };
    if (canonical(QFileInfo(target).absolutePath()) != canonical(pages)) {
        err << "vlp " << name << ": " << target << " is not in " << QDir(pages).path()
            << ": a project file has to stand beside its pages\n";
        return 2;
    }
    if (!result.Failure.isEmpty()) {
        err << "vlp " << name << ": " << result.Failure << '\n';
        return 1;
    }
    QString problem;
    const WriteSummary summary =
        WriteProjectFile(result.Model, target, parser.isSet(forceOption), &problem);
    if (!problem.isEmpty()) {
        err << "vlp " << name << ": " << problem << '\n';
        return 1;
    }
    for (const QString &note : result.Notes + summary.Notes)
        out << note << '\n';
    out << "wrote " << target << ": " << summary.Nodes << " nodes, " << summary.Keywords
        << " keywords, home topic " << summary.Home << '\n';
    return 0;
}

} // namespace

int RunVlp(const QStringList &arguments, QTextStream &out, QTextStream &err) {
    const QString first = arguments.value(1);
    if (arguments.size() < 2 || first == u"-h" || first == u"--help" || first == u"--help-all" ||
        (first == u"help" && arguments.size() == 2)) {
        out << overview();
        return arguments.size() < 2 ? 2 : 0;
    }
    if (first == u"-v" || first == u"--version") {
        out << "vlp " << QCoreApplication::applicationVersion() << '\n';
        return 0;
    }
    const QString wanted = first == u"help" ? arguments.value(2) : first;
    const auto command = std::find_if(commands().begin(), commands().end(),
                                      [&](const Command &c) { return c.Name == wanted; });
    if (command == commands().end()) {
        err << "vlp: unknown command \"" << wanted << "\"; try vlp --help\n";
        return 2;
    }
    QCommandLineParser parser;
    describe(parser, *command);
    if (first == u"help") {
        out << helpText(parser);
        return 0;
    }
    if (!parser.parse(arguments)) {
        err << "vlp " << command->Name << ": " << parser.errorText() << '\n';
        return 2;
    }
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
        out << helpText(parser);
        return 0;
    }
    if (command->Name == u"check")
        return runCheck(parser, out, err);
    if (parser.positionalArguments().size() != 2) {
        err << "vlp " << command->Name << ": name one " << command->Arguments << '\n';
        return 2;
    }
    const QString source = parser.positionalArguments()[1];
    if (command->Name == u"import") {
        const QFileInfo info(source);
        return writeResult(ImportProject(source), info.absolutePath(),
                           info.dir().filePath(info.completeBaseName() + QStringLiteral(".vlp")),
                           parser, out, err);
    }
    const QDir folder(source);
    return writeResult(
        NewProject(source), folder.absolutePath(),
        folder.filePath(QDir(folder.absolutePath()).dirName() + QStringLiteral(".vlp")), parser,
        out, err);
}

} // namespace author
