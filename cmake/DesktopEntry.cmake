# The launcher entry and the icon theme files: the entry is written with the
# installed executable's path and the media types the player opens, the icons
# are the committed renderings of share/icons/hicolor/scalable/apps/quillon-player.svg.

set(QP_ICON_SIZES 16 22 24 32 48 64 128 256)

# The media types come from the one list the player also tells the session bus.
file(READ "${CMAKE_CURRENT_SOURCE_DIR}/src/desktop/MediaTypes.cpp" qp_media_source)
string(REGEX MATCHALL "QStringLiteral\\(\"[a-z0-9.+-]+/[a-z0-9.+-]+\"\\)" qp_media_literals "${qp_media_source}")
set(QP_MIME_TYPES "")
foreach(literal IN LISTS qp_media_literals)
  string(REGEX REPLACE "QStringLiteral\\(\"(.*)\"\\)" "\\1" type "${literal}")
  string(APPEND QP_MIME_TYPES "${type};")
endforeach()

set(QP_EXECUTABLE "${QP_INSTALL_DIR}/quillon-player")
set(QP_DESKTOP_FILE "${CMAKE_CURRENT_BINARY_DIR}/share/applications/quillon-player.desktop")
configure_file("${CMAKE_CURRENT_SOURCE_DIR}/share/applications/quillon-player.desktop.in" "${QP_DESKTOP_FILE}" @ONLY)

install(FILES "${QP_DESKTOP_FILE}" DESTINATION "${QP_SHARE_DIR}/applications")
install(FILES "${CMAKE_CURRENT_SOURCE_DIR}/share/icons/hicolor/scalable/apps/quillon-player.svg"
        DESTINATION "${QP_SHARE_DIR}/icons/hicolor/scalable/apps")
set(qp_icon_files "")
foreach(size IN LISTS QP_ICON_SIZES)
  set(png "icons/hicolor/${size}x${size}/apps/quillon-player.png")
  install(FILES "${CMAKE_CURRENT_SOURCE_DIR}/share/${png}" DESTINATION "${QP_SHARE_DIR}/icons/hicolor/${size}x${size}/apps")
  list(APPEND qp_icon_files "share/${png}")
endforeach()

# The window shows the same images, compiled into the program.
qt_add_resources(qp_desktop quillon_icons PREFIX "/quillon" BASE share FILES ${qp_icon_files})
