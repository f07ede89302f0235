# SPDX-License-Identifier: GPL-3.0-or-later
# Fills the package's copyright file with the stroke data's version and licence text, which
# the character store's build has put beside the tables.
# cmake -DTEMPLATE=copyright.in -DLICENCE=ARPHICPL.TXT -DDATA_PACKAGE=package.json -DOUTPUT=copyright -P make_copyright.cmake
file(READ ${DATA_PACKAGE} package_json)
string(JSON QIR_STROKE_DATA_VERSION GET "${package_json}" version)
file(READ ${LICENCE} text)
string(REPLACE "\r" "" text "${text}")
string(STRIP "${text}" text)
# Every line indented by one blank; an empty line becomes " .", as the format asks.
string(REGEX REPLACE "\n[ \t]*\n" "\n.\n" text "${text}")
string(REGEX REPLACE "\n[ \t]*\n" "\n.\n" text "${text}")
string(REPLACE "\n" "\n " text "${text}")
set(QIR_ARPHIC_LICENCE " ${text}")
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
