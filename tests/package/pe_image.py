"""Reads what the package tests need from a Windows program file: its processor, its window
kind, the libraries it loads and its resources. Every read is bounds-checked, so a damaged file
fails the test with a ValueError that says where, instead of a wrong answer."""

import struct

MACHINE_I386 = 0x014C
MACHINE_AMD64 = 0x8664
SUBSYSTEM_WINDOWS_GUI = 2
SUBSYSTEM_WINDOWS_CUI = 3

RT_CURSOR_GROUP = 12
RT_BITMAP = 2
RT_DIALOG = 5
RT_ICON_GROUP = 14
RT_MANIFEST = 24

_IMPORT_DIRECTORY = 1
_RESOURCE_DIRECTORY = 2


class PeImage:
    def __init__(self, data):
        self.data = data
        pe = self._u32(0x3C)
        if self.data[0:2] != b"MZ" or self.data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a Windows program file")
        self.machine, sections = struct.unpack_from("<HH", self._slice(pe + 4, 4))
        optional_size = self._u16(pe + 20)
        optional = pe + 24
        magic = self._u16(optional)
        if magic not in (0x10B, 0x20B):
            raise ValueError(f"unknown optional header 0x{magic:x}")
        self.subsystem = self._u16(optional + 68)
        directories = optional + (96 if magic == 0x10B else 112)
        count = self._u32(directories - 4)
        self._directories = [struct.unpack_from("<II", self._slice(directories + 8 * i, 8))
                             for i in range(min(count, 16))]
        table = optional + optional_size
        self._sections = []
        for i in range(sections):
            entry = self._slice(table + 40 * i, 40)
            virtual_size, address, raw_size, raw_offset = struct.unpack_from("<IIII", entry, 8)
            self._sections.append((address, max(virtual_size, raw_size), raw_offset, raw_size))

    # Bounds-checked reads.
    def _slice(self, offset, size):
        if offset < 0 or offset + size > len(self.data):
            raise ValueError(f"read of {size} bytes at {offset} is outside the file")
        return self.data[offset:offset + size]

    def _u16(self, offset):
        return struct.unpack_from("<H", self._slice(offset, 2))[0]

    def _u32(self, offset):
        return struct.unpack_from("<I", self._slice(offset, 4))[0]

    def _offset(self, rva):
        for address, size, raw_offset, raw_size in self._sections:
            if address <= rva < address + size:
                if rva - address >= raw_size:
                    raise ValueError(f"address 0x{rva:x} has no bytes in the file")
                return raw_offset + rva - address
        raise ValueError(f"address 0x{rva:x} is in no section")

    def _c_string(self, rva):
        start = self._offset(rva)
        end = self.data.find(b"\0", start)
        if end < 0:
            raise ValueError(f"text at 0x{rva:x} has no end")
        return self.data[start:end].decode("latin-1")

    def imported_libraries(self):
        """The names of the libraries the program loads at start, as written in the file."""
        rva, size = self._directories[_IMPORT_DIRECTORY]
        if rva == 0:
            return []
        names, offset = [], self._offset(rva)
        while True:
            descriptor = struct.unpack_from("<IIIII", self._slice(offset, 20))
            if not any(descriptor):
                return names
            names.append(self._c_string(descriptor[3]))
            offset += 20

    def resources(self):
        """{(type, id): bytes} for every resource with a numeric type and id (first language)."""
        rva, _ = self._directories[_RESOURCE_DIRECTORY]
        if rva == 0:
            return {}
        base = self._offset(rva)
        found = {}
        for type_id, type_entry in self._directory_entries(base, base):
            if type_id is None or not type_entry[1]:
                continue
            for name_id, name_entry in self._directory_entries(base, base + type_entry[0]):
                if name_id is None or not name_entry[1]:
                    continue
                languages = self._directory_entries(base, base + name_entry[0])
                if not languages or languages[0][1][1]:
                    continue
                data_rva, data_size = struct.unpack_from(
                    "<II", self._slice(base + languages[0][1][0], 8))
                found[(type_id, name_id)] = self._slice(self._offset(data_rva), data_size)
        return found

    def _directory_entries(self, base, offset):
        """[(numeric id or None for a named entry, (offset from base, is a directory))]."""
        named, numbered = struct.unpack_from("<HH", self._slice(offset + 12, 4))
        entries = []
        for i in range(named + numbered):
            name, target = struct.unpack_from("<II", self._slice(offset + 16 + 8 * i, 8))
            ident = None if name & 0x80000000 else name
            entries.append((ident, (target & 0x7FFFFFFF, bool(target & 0x80000000))))
        return entries


def dialog_caption(template):
    """The caption of a dialog template, old or extended form."""
    if len(template) >= 4 and struct.unpack_from("<HH", template) == (1, 0xFFFF):
        offset = 26
    else:
        offset = 18
    for _ in range(2):  # the menu and the window class: none, an ordinal or a text
        offset = _skip_text_or_ordinal(template, offset)
    return _utf16_text(template, offset)[0]


def _skip_text_or_ordinal(template, offset):
    if offset + 2 > len(template):
        raise ValueError("dialog template ends early")
    first = struct.unpack_from("<H", template, offset)[0]
    if first == 0:
        return offset + 2
    if first == 0xFFFF:
        return offset + 4
    return _utf16_text(template, offset)[1]


def _utf16_text(template, offset):
    end = offset
    while True:
        if end + 2 > len(template):
            raise ValueError("dialog template text has no end")
        if template[end:end + 2] == b"\0\0":
            return template[offset:end].decode("utf-16-le"), end + 2
        end += 2
