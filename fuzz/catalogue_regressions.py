#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes the hand-made damaged catalogues of fuzz/regressions/catalogue_read_fuzzer/.

Each is a catalogue that a reader could take for sound: a file the project's writer made
(through the tessaro-catalogue tool named by the first argument), or the Jet 4 file of the
catalogue tests, with a few bytes changed.

    fuzz/catalogue_regressions.py build/tools/tessaro-catalogue/tessaro-catalogue
"""
import json
import pathlib
import struct
import subprocess
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parent.parent
OUT = ROOT / "fuzz" / "regressions" / "catalogue_read_fuzzer"
JET4_FIXTURE = ROOT / "tests" / "catalogue" / "fixtures" / "jet4" / "V2000_with-password.mdb"

PAGE = 2048
VERSION_OFFSET = 0x14
DATA_PAGE, DEFINITION_PAGE = 1, 2
OWNER_OFFSET, ROW_TABLE_OFFSET = 4, 10
SYSTEM_DEFINITION_PAGE = 2
# The writer's layout: user table k is defined on page 3 + k, and its row is row 4 + k of
# MSysObjects (after the rows of three containers and of MSysObjects itself).
FIRST_USER_DEFINITION, FIRST_USER_ROW = 3, 4

ASANAS = {"name": "Asanas",
          "columns": [{"name": "name", "type": "text"}, {"name": "AsanaID", "type": "long"},
                      {"name": "Disp_Type", "type": "text", "size": 10},
                      {"name": "VideoName", "type": "text"}],
          "rows": [["Tadasana", 1, "Video", "Tadasana.mpg"],
                   ["Vrksasana", 2, "Video", "Vrksasana.mpg"]]}


def clips(name, prefix):
    return {"name": name,
            "columns": [{"name": "Filename", "type": "text"}, {"name": "Action", "type": "text"},
                        {"name": "StartPos", "type": "integer"},
                        {"name": "EndPos", "type": "integer"},
                        {"name": "Filelen", "type": "double"}],
            "rows": [[f"{prefix}{i}", "say", 50 * i, 0, 1.5] for i in range(1, 4)]}


def written(tool, tables):
    with tempfile.TemporaryDirectory() as folder:
        description = pathlib.Path(folder) / "course.json"
        mdb = pathlib.Path(folder) / "VUDuzu.mdb"
        description.write_text(json.dumps({"tables": tables}))
        subprocess.run([tool, "build", str(description), str(mdb)], check=True)
        return bytearray(mdb.read_bytes())


def data_page_of(data, definition_page):
    for at in range(3 * PAGE, len(data), PAGE):
        if data[at] == DATA_PAGE and struct.unpack_from("<I", data, at + OWNER_OFFSET)[0] == \
                definition_page:
            return at
    raise SystemExit(f"no data page of the table defined on page {definition_page}")


def catalogue_row(data, index):
    page = data_page_of(data, SYSTEM_DEFINITION_PAGE)
    return page + (struct.unpack_from("<H", data, page + ROW_TABLE_OFFSET + 2 * index)[0] & 0x1FFF)


def names_differ_only_in_case(tool):
    data = written(tool, [ASANAS, clips("Audio_Asana1", "a"), clips("Xudio_Xsana1", "b")])
    at = data.index(b"Xudio_Xsana1")
    data[at:at + 12] = b"AUDIO_ASANA1"
    return data


def data_page_zeroed(tool):
    data = written(tool, [ASANAS, clips("Big", "c")])
    page = data_page_of(data, FIRST_USER_DEFINITION + 1)
    data[page:page + PAGE] = bytes(PAGE)
    return data


def user_table_on_system_definition(tool):
    data = written(tool, [ASANAS, clips("Audio_Asana1", "a")])
    # The row's column count, then its first fixed column: Id, the definition page.
    row = catalogue_row(data, FIRST_USER_ROW + 1)
    assert struct.unpack_from("<I", data, row + 1)[0] == FIRST_USER_DEFINITION + 1
    struct.pack_into("<I", data, row + 1, SYSTEM_DEFINITION_PAGE)
    return data


def jet4_version_byte_says_jet3(_tool):
    # The header and the first two pages of 4096 bytes: page 2 holds the system table's
    # definition, which tells the layout.
    data = bytearray(JET4_FIXTURE.read_bytes()[:3 * 4096])
    data[VERSION_OFFSET] = 0
    return data


def main():
    tool = sys.argv[1]
    for name, make in [("catalogue-table-names-differ-only-in-case.mdb", names_differ_only_in_case),
                       ("catalogue-data-page-zeroed.mdb", data_page_zeroed),
                       ("catalogue-user-table-on-system-definition.mdb",
                        user_table_on_system_definition),
                       ("catalogue-jet4-version-byte-says-jet3.mdb", jet4_version_byte_says_jet3)]:
        (OUT / name).write_bytes(make(tool))


if __name__ == "__main__":
    main()
