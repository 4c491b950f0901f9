#include "cloud/JsonObjectWriter.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// Bytes that stand in a JSON string as they are: printable ASCII other than the quote and the
// backslash. Base64 is always such text. A log's data is tens of megabytes of it, so eight
// bytes are checked at a time.
bool isPlain(const QByteArray& bytes) {
    constexpr quint64 ones = 0x0101010101010101ULL;
    constexpr quint64 highs = 0x8080808080808080ULL;
    const auto hasZeroByte = [](quint64 v) { return ((v - ones) & ~v & highs) != 0; };
    const auto hasByteBelow = [](quint64 v, quint64 n) {
        return ((v - ones * n) & ~v & highs) != 0;
    };
    const char* data = bytes.constData();
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    for (; i + 8 <= size; i += 8) {
        quint64 v;
        std::memcpy(&v, data + i, sizeof v);
        if ((v & highs) || hasByteBelow(v, 0x20) || hasZeroByte(v ^ (ones * 0x7F)) ||
            hasZeroByte(v ^ (ones * '"')) || hasZeroByte(v ^ (ones * '\\')))
            return false;
    }
    for (; i < size; ++i) {
        const auto u = static_cast<unsigned char>(data[i]);
        if (u < 0x20 || u >= 0x7F || u == '"' || u == '\\')
            return false;
    }
    return true;
}

// A value as it goes into the body: plain bytes are shared and quoted while being written;
// anything else is escaped by Qt itself, quotes included.
struct Piece {
    QByteArray bytes;
    bool plain;
};

Piece escaped(const QString& text) {
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return {array.mid(1, array.size() - 2), false}; // without the brackets
}

Piece piece(const QString& text) {
    const bool plain = std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.unicode() >= 0x20 && c.unicode() < 0x7F && c != u'"' && c != u'\\';
    });
    return plain ? Piece{text.toLatin1(), true} : escaped(text);
}

Piece piece(const QByteArray& utf8) {
    return isPlain(utf8) ? Piece{utf8, true} : escaped(QString::fromUtf8(utf8));
}

qsizetype sizeOf(const Piece& p) {
    return p.bytes.size() + (p.plain ? 2 : 0);
}

void append(QByteArray& out, const Piece& p) {
    if (p.plain)
        out.append('"').append(p.bytes).append('"');
    else
        out.append(p.bytes);
}

} // namespace

void JsonObjectWriter::text(const QString& key, const QString& value) {
    members_.insert(key, value);
}

void JsonObjectWriter::bytes(const QString& key, const QByteArray& value) {
    members_.insert(key, value);
}

void JsonObjectWriter::list(const QString& key, const QByteArrayList& values) {
    members_.insert(key, values);
}

QByteArray JsonObjectWriter::toJson() const {
    // Every piece first, so that the body is allocated once at its final size.
    struct Member {
        Piece key;
        QList<Piece> values;
        bool isList;
    };
    QList<Member> members;
    qsizetype size = 2; // the braces
    for (auto it = members_.cbegin(); it != members_.cend(); ++it) {
        Member member{piece(it.key()), {}, false};
        if (const auto* text = std::get_if<QString>(&it.value())) {
            member.values.append(piece(*text));
        } else if (const auto* one = std::get_if<QByteArray>(&it.value())) {
            member.values.append(piece(*one));
        } else {
            member.isList = true;
            for (const QByteArray& element : std::get<QByteArrayList>(it.value()))
                member.values.append(piece(element));
            // brackets and commas
            size += 2 + std::max<qsizetype>(0, member.values.size() - 1);
        }
        size += sizeOf(member.key) + 1 + (members.isEmpty() ? 0 : 1); // key, ':' and ','
        for (const Piece& p : member.values)
            size += sizeOf(p);
        members.append(std::move(member));
    }

    QByteArray out;
    out.reserve(size);
    out.append('{');
    for (const Member& member : members) {
        if (out.size() > 1)
            out.append(',');
        append(out, member.key);
        out.append(':');
        if (member.isList)
            out.append('[');
        for (qsizetype j = 0; j < member.values.size(); ++j) {
            if (j > 0)
                out.append(',');
            append(out, member.values.at(j));
        }
        if (member.isList)
            out.append(']');
    }
    out.append('}');
    return out;
}
