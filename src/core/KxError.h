#pragma once
#include <QString>
#include <exception>

// Every failure of the model is an exception carrying a message text that the
// user interface shows as it stands.
class EKXError : public std::exception {
public:
    explicit EKXError(QString message) : Message(std::move(message)), m_utf8(Message.toUtf8()) {}
    const char* what() const noexcept override { return m_utf8.constData(); }
    QString Message;

private:
    QByteArray m_utf8;
};
