// SPDX-License-Identifier: GPL-3.0-or-later
#include "loading/StrictJson.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QSet>

#include <nlohmann/json.hpp>

#include <cmath>
#include <string>
#include <vector>

namespace {

// Builds Qt's JSON value from the parser's events, refusing what the parser
// lets through: repeated keys, NUL characters, deep nesting.
class Builder : public nlohmann::json_sax<nlohmann::json>
{
public:
    QJsonValue root;
    QString why;

    bool null() override { return Add(QJsonValue(QJsonValue::Null)); }
    bool boolean(bool b) override { return Add(QJsonValue(b)); }
    bool number_integer(number_integer_t n) override { return Number(static_cast<double>(n)); }
    bool number_unsigned(number_unsigned_t n) override { return Number(static_cast<double>(n)); }
    bool number_float(number_float_t n, const string_t&) override { return Number(n); }
    bool string(string_t& s) override
    {
        if (s.find('\0') != std::string::npos)
            return Fail(QStringLiteral("%1: a NUL character in a text").arg(Here()));
        return Add(QJsonValue(QString::fromStdString(s)));
    }
    bool binary(binary_t&) override { return Fail(QStringLiteral("binary data")); }
    bool start_object(std::size_t) override { return Open(true); }
    bool key(string_t& k) override
    {
        Frame& top = m_stack.back();
        const QString name = QString::fromStdString(k);
        if (k.find('\0') != std::string::npos)
            return Fail(QStringLiteral("%1: a NUL character in a key").arg(top.path));
        if (top.keys.size() >= MaxJsonMembers)
            return Fail(QStringLiteral("%1: an object of more than %2 members")
                            .arg(top.path)
                            .arg(MaxJsonMembers));
        if (top.keys.contains(name))
            return Fail(
                QStringLiteral("%1: the key \"%2\" appears twice").arg(top.path, name.left(80)));
        top.keys.insert(name);
        top.key = name;
        return true;
    }
    bool end_object() override { return Close(); }
    bool start_array(std::size_t) override { return Open(false); }
    bool end_array() override { return Close(); }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e) override
    {
        if (!why.isEmpty())
            return false;
        // "[json.exception.parse_error.101] parse error at line 1, column 7:
        // syntax error while parsing value - invalid string: ill-formed UTF-8
        // byte; last read: '..."': the place and the reason, without the
        // bytes read (they need not be text).
        std::string text = e.what();
        const size_t bracket = text.find("] ");
        if (bracket != std::string::npos)
            text.erase(0, bracket + 2);
        const size_t last = text.find("; last read");
        if (last != std::string::npos)
            text.erase(last);
        const size_t dash = text.find(" - ");
        const size_t at = text.find("at line ");
        if (dash != std::string::npos && at != std::string::npos) {
            const size_t colon = text.find(':', at);
            text = text.substr(at + 3, colon - at - 3) + ": " + text.substr(dash + 3);
        }
        why = QStringLiteral("not JSON: ") + QString::fromStdString(text);
        return false;
    }

private:
    struct Frame
    {
        bool object = false;
        QJsonObject members;
        QJsonArray elements;
        QSet<QString> keys;
        QString key; // the member whose value comes next
        QString path;
    };
    std::vector<Frame> m_stack;

    bool Fail(const QString& text)
    {
        why = text;
        return false;
    }
    // Where the next value goes.
    QString Here() const
    {
        if (m_stack.empty())
            return QStringLiteral("$");
        const Frame& top = m_stack.back();
        return top.object ? JsonPathStep(top.path, top.key)
                          : JsonPathStep(top.path, QString(), top.elements.size());
    }
    bool Number(double n)
    {
        if (!std::isfinite(n))
            return Fail(QStringLiteral("%1: a number beyond the range of a double").arg(Here()));
        return Add(QJsonValue(n));
    }
    bool Add(const QJsonValue& value)
    {
        if (m_stack.empty()) {
            root = value;
            return true;
        }
        Frame& top = m_stack.back();
        if (top.object)
            top.members.insert(top.key, value);
        else
            top.elements.append(value);
        return true;
    }
    bool Open(bool object)
    {
        const QString path = Here();
        if (static_cast<int>(m_stack.size()) >= MaxJsonDepth)
            return Fail(
                QStringLiteral("%1: nested deeper than %2 levels").arg(path).arg(MaxJsonDepth));
        Frame frame;
        frame.object = object;
        frame.path = path;
        m_stack.push_back(std::move(frame));
        return true;
    }
    bool Close()
    {
        Frame done = std::move(m_stack.back());
        m_stack.pop_back();
        return Add(done.object ? QJsonValue(done.members) : QJsonValue(done.elements));
    }
};

} // namespace

QString JsonPathStep(const QString& path, const QString& name, qsizetype index)
{
    if (name.isNull())
        return QStringLiteral("%1[%2]").arg(path).arg(index);
    // A key that is not a plain name is quoted.
    bool plain = !name.isEmpty() && !name.front().isDigit();
    for (QChar c : name)
        plain = plain && c.unicode() < 128 && (c.isLetterOrNumber() || c == u'_');
    if (plain)
        return path + u'.' + name;
    QString quoted = name.left(80);
    quoted.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
    return QStringLiteral("%1[\"%2\"]").arg(path, quoted);
}

bool ReadStrictJson(const QByteArray& bytes, QJsonValue& value, QString& why)
{
    Builder builder;
    const char* begin = bytes.constData();
    const bool ok = nlohmann::json::sax_parse(begin, begin + bytes.size(), &builder,
                                              nlohmann::json::input_format_t::json, true);
    if (!ok) {
        why = builder.why.isEmpty() ? QStringLiteral("not JSON") : builder.why;
        return false;
    }
    value = builder.root;
    return true;
}
