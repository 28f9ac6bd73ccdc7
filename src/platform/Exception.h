#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

namespace platform {

// Base of the exceptions the program lets travel to its top-level report.
class Exception : public std::exception {
public:
    explicit Exception(QString message) : Message(std::move(message)), utf8(Message.toUtf8()) {}
    const char *what() const noexcept override { return utf8.constData(); }

    QString Message;

private:
    QByteArray utf8;
};

// Raised when a text that must hold an integer does not.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

} // namespace platform
