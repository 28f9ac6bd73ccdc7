#include "author/Cli.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vlp"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELLUMO_VERSION));
    QTextStream out(stdout);
    QTextStream err(stderr);
    return author::RunVlp(QCoreApplication::arguments(), out, err);
}
