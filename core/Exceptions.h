// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <exception>

// Errors are exceptions that carry the text the user is shown.
class Exception : public std::exception
{
public:
    explicit Exception(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8())
    {
    }
    const QString& Message() const { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// Silent abort: ends a handler without any message.
class EAbort : public Exception
{
public:
    EAbort() : Exception(QString()) {}
};

// A text that is not a number.
class EConvertError : public Exception
{
public:
    using Exception::Exception;
};

// A file that cannot be created or written ("Cannot create file ...").
class EFCreateError : public Exception
{
public:
    using Exception::Exception;
};

// A file that cannot be opened ("Cannot open file ...").
class EFOpenError : public Exception
{
public:
    using Exception::Exception;
};

// An image file of the wrong kind ("Icon image is not valid").
class EInvalidGraphic : public Exception
{
public:
    using Exception::Exception;
};

// A catalogue entry the program refuses to load (for instance a count too large).
class ECatalogueError : public Exception
{
public:
    using Exception::Exception;
};

// The text of the error box: the message with "." appended when its last
// character sorts after ".".
QString ErrorBoxText(const QString& message);
