#include "desktop/MprisService.h"

#include <initializer_list>

// The interfaces as the bus describes them to callers that ask.

namespace {

struct PropertyLine {
    const char* name;
    const char* type;
    const char* access = "read";
};

// One interface element: its methods and signals as written, then one line per property.
QString Interface(const QString& name, const char* members, std::initializer_list<PropertyLine> properties)
{
    QString xml = QStringLiteral("<interface name=\"%1\">\n").arg(name) + QLatin1String(members);
    for (const PropertyLine& property : properties)
        xml += QStringLiteral("  <property name=\"%1\" type=\"%2\" access=\"%3\"/>\n")
                   .arg(QLatin1String(property.name), QLatin1String(property.type), QLatin1String(property.access));
    return xml + QStringLiteral("</interface>\n");
}

}  // namespace

QString MprisService::introspect(const QString& path) const
{
    if (path != kObjectPath)
        return {};
    const QString root = Interface(kRootInterface,
                                   R"(  <method name="Raise"/>
  <method name="Quit"/>
)",
                                   {
                                       {"CanQuit", "b"},
                                       {"CanRaise", "b"},
                                       {"CanSetFullscreen", "b"},
                                       {"Fullscreen", "b"},
                                       {"HasTrackList", "b"},
                                       {"Identity", "s"},
                                       {"DesktopEntry", "s"},
                                       {"SupportedUriSchemes", "as"},
                                       {"SupportedMimeTypes", "as"},
                                   });
    const QString player = Interface(kPlayerInterface,
                                     R"(  <method name="Next"/>
  <method name="Previous"/>
  <method name="Pause"/>
  <method name="PlayPause"/>
  <method name="Stop"/>
  <method name="Play"/>
  <method name="Seek"><arg name="Offset" type="x" direction="in"/></method>
  <method name="SetPosition">
    <arg name="TrackId" type="o" direction="in"/>
    <arg name="Position" type="x" direction="in"/>
  </method>
  <method name="OpenUri"><arg name="Uri" type="s" direction="in"/></method>
  <signal name="Seeked"><arg name="Position" type="x"/></signal>
)",
                                     {
                                         {"PlaybackStatus", "s"},
                                         {"Rate", "d", "readwrite"},
                                         {"Metadata", "a{sv}"},
                                         {"Volume", "d", "readwrite"},
                                         {"Position", "x"},
                                         {"MinimumRate", "d"},
                                         {"MaximumRate", "d"},
                                         {"CanGoNext", "b"},
                                         {"CanGoPrevious", "b"},
                                         {"CanPlay", "b"},
                                         {"CanPause", "b"},
                                         {"CanSeek", "b"},
                                         {"CanControl", "b"},
                                     });
    const QString properties = Interface(QStringLiteral("org.freedesktop.DBus.Properties"),
                                         R"(  <method name="Get">
    <arg name="interface" type="s" direction="in"/>
    <arg name="name" type="s" direction="in"/>
    <arg name="value" type="v" direction="out"/>
  </method>
  <method name="GetAll">
    <arg name="interface" type="s" direction="in"/>
    <arg name="properties" type="a{sv}" direction="out"/>
  </method>
  <method name="Set">
    <arg name="interface" type="s" direction="in"/>
    <arg name="name" type="s" direction="in"/>
    <arg name="value" type="v" direction="in"/>
  </method>
  <signal name="PropertiesChanged">
    <arg name="interface" type="s"/>
    <arg name="changed" type="a{sv}"/>
    <arg name="invalidated" type="as"/>
  </signal>
)",
                                         {});
    return root + player + properties;
}
