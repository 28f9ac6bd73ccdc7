#include "platform/ProgramIcon.h"

// The renderings live in the core library, whose resources a static link does not register.
static void initProgramIcon() {
    Q_INIT_RESOURCE(program_icon);
}

namespace platform {

QString ProgramIconFile(int size) {
    initProgramIcon();
    return QStringLiteral(":/icons/vellumo%1.png").arg(size);
}

QIcon ProgramIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64})
        icon.addFile(ProgramIconFile(size), QSize(size, size));
    return icon;
}

} // namespace platform
