#include "playlists/Xspf.h"

#include <QByteArray>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include "playlists/EntryLocation.h"
#include "playlists/PlaylistText.h"

namespace {

constexpr char kNamespace[] = "http://xspf.org/ns/0/";

std::string Text(const QString& text) { return text.toStdString(); }
QString Q(const std::string& text) { return QString::fromStdString(text); }

// XML 1.0 cannot carry control characters other than tab and line breaks.
QString XmlSafe(const std::string& text)
{
    QString out = Q(OneLine(text));
    out.removeIf([](QChar c) { return c.unicode() < 0x20 && c != QChar('\t'); });
    return out;
}

void ReadTrack(QXmlStreamReader& xml, RawPlaylist& playlist)
{
    RawEntry entry;
    bool hasLocation = false;
    while (xml.readNextStartElement()) {
        const QStringView name = xml.name();
        if (xml.namespaceUri() != QLatin1String(kNamespace)) {
            xml.skipCurrentElement();
        } else if (name == QLatin1String("location") && !hasLocation) {
            entry.location = Text(xml.readElementText().trimmed());
            entry.uri = true;
            hasLocation = true;
        } else if (name == QLatin1String("title")) {
            entry.title = LimitField(Text(xml.readElementText()));
        } else if (name == QLatin1String("creator")) {
            entry.artist = LimitField(Text(xml.readElementText()));
        } else if (name == QLatin1String("album")) {
            entry.album = LimitField(Text(xml.readElementText()));
        } else if (name == QLatin1String("duration")) {
            bool ok = false;
            const qlonglong ms = xml.readElementText().trimmed().toLongLong(&ok);
            entry.lengthMs = ok && ms >= 0 ? ms : -1;
        } else {
            xml.skipCurrentElement();
        }
    }
    if (!hasLocation) {
        const std::string label = entry.title.empty() ? "a track" : entry.title;
        playlist.problems.push_back({ShortenForReport(label), "the track has no location"});
        return;
    }
    playlist.entries.push_back(std::move(entry));
}

}  // namespace

RawPlaylist ParseXspf(std::string_view bytes)
{
    RawPlaylist playlist;
    QXmlStreamReader xml(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!xml.readNextStartElement()) {
        playlist.error = "it is not an XML document";
    } else if (xml.name() != QLatin1String("playlist") || xml.namespaceUri() != QLatin1String(kNamespace)) {
        playlist.error = "its root element is <" + Text(xml.name().toString()) + "> in the namespace \"" +
                         Text(xml.namespaceUri().toString()) + "\", not an XSPF <playlist> in \"" + kNamespace +
                         "\"";
        return playlist;
    } else {
        while (xml.readNextStartElement()) {
            if (xml.name() != QLatin1String("trackList")) {
                xml.skipCurrentElement();
                continue;
            }
            while (xml.readNextStartElement()) {
                if (xml.name() == QLatin1String("track"))
                    ReadTrack(xml, playlist);
                else
                    xml.skipCurrentElement();
            }
        }
    }
    if (xml.hasError()) {
        // A damaged document gives nothing rather than a guess at where it broke.
        playlist.entries.clear();
        playlist.error = "the XML is damaged at line " + std::to_string(xml.lineNumber()) + ", column " +
                         std::to_string(xml.columnNumber()) + " (" + Text(xml.errorString()) + ")";
    }
    return playlist;
}

std::string FormatXspf(const std::vector<PlaylistEntry>& entries, const std::string& folder)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    xml.writeStartDocument();
    xml.writeDefaultNamespace(QLatin1String(kNamespace));
    xml.writeStartElement(QLatin1String(kNamespace), QStringLiteral("playlist"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1"));
    xml.writeStartElement(QLatin1String(kNamespace), QStringLiteral("trackList"));
    for (const PlaylistEntry& entry : entries) {
        xml.writeStartElement(QLatin1String(kNamespace), QStringLiteral("track"));
        const std::string written = PathForPlaylist(entry.path, folder);
        const std::string location = written.front() == '/' ? FileUri(written) : PercentEncodePath(written);
        xml.writeTextElement(QLatin1String(kNamespace), QStringLiteral("location"), Q(location));
        if (!entry.title.empty())
            xml.writeTextElement(QLatin1String(kNamespace), QStringLiteral("title"), XmlSafe(entry.title));
        if (!entry.artist.empty())
            xml.writeTextElement(QLatin1String(kNamespace), QStringLiteral("creator"), XmlSafe(entry.artist));
        if (!entry.album.empty())
            xml.writeTextElement(QLatin1String(kNamespace), QStringLiteral("album"), XmlSafe(entry.album));
        if (entry.lengthMs >= 0)
            xml.writeTextElement(QLatin1String(kNamespace), QStringLiteral("duration"),
                                 QString::number(entry.lengthMs));
        xml.writeEndElement();
    }
    xml.writeEndDocument();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}
