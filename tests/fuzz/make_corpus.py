#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpus (tests/fuzz/corpus/<target>/): files
made from the sample package and hand-made cases. Run again after editing;
the fuzz runs themselves add their finds under build/fuzz/corpus/."""
import os, shutil, struct, zlib

here = os.path.dirname(os.path.abspath(__file__))
root = os.path.dirname(os.path.dirname(here))
package = os.path.join(root, "samples", "package")
corpus = os.path.join(here, "corpus")

def read(name):
    with open(os.path.join(package, name), "rb") as f:
        return f.read()

def ansi(text):
    return text.encode("cp1252")

def seeds(target, items):
    folder = os.path.join(corpus, target)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    for name, data in items.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)

dip = read("Setup.dip")
ftc = read("Setup.ftc")
lrk = read("Settings.lrk")
welcome = read("Welcome.txt")
dip_lines = dip.split(b"\r\n")[:-1]

seeds("setup_dip", {
    "sample": dip,
    "eleven_lines": b"\r\n".join(dip_lines[:11]) + b"\r\n",
    "ten_lines": b"\r\n".join(dip_lines[:10]),
    "half_group": b"\r\n".join(dip_lines[:13]) + b"\r\n",
    "lf_only_short_labels": b"\n".join([b"N:x v.1", b"", b"s", b"g", b"v", b"c", b"d:99999999999",
                                         b"m", b"db", b"wg", b"ic"]),
    "eleven_groups": b"\r\n".join(dip_lines[:11] + [b"Nome  :a", b"File  :b", b"Icona :c"] * 11),
})

ftc_lines = [l for l in ftc.split(b"\r\n") if l]
seeds("file_list_line", {
    "sample_%d" % i: line for i, line in enumerate(ftc_lines)
} | {
    "drive_written": b"a.mde;C:\\Programmi\\Archivio\\;1",
    "no_folder": b"a.txt;;1",
    "accented_flag": ansi("citt\u00e0.txt;C:\\Dati;\u00e0"),
    "short": b"a;1",
    "comment": b";a;b;1",
})

def values(install, version, short, mdw, mde, name):
    return ansi("\n".join([install, version, short, mdw, mde, name])) + b"\n"

sample_values = values("C:\\Programmi\\Condominio", "3.2", "Condominio", "condominio.mdw",
                       "condominio.mde", "Contabilit\u00e0 Condominio v.3.2")
placeholder_items = {"lrk_%02d" % i: sample_values + line
                     for i, line in enumerate(lrk.split(b"\r\n")) if b"\xa7" in line}
placeholder_items |= {
    "ftc_line": sample_values + ftc_lines[2],
    "root_destination": values("D:\\", "1", "s", "w", "d", "n") + ansi("\u00a7\u00a7KV_App_Path\u00a7\u00a7\\Dati"),
    "value_holds_token": values(ansi("\u00a7\u00a7KV_App_Name\u00a7\u00a7").decode("cp1252"), "1", "s", "w", "d",
                                "\u00a7\u00a7KV_App_Path\u00a7\u00a7") + ansi("\u00a7\u00a7KV_App_Path\u00a7\u00a7"),
    "lower_case_and_lone_signs": sample_values + ansi("\u00a7\u00a7kv_win_path\u00a7\u00a7 \u00a7 \u00a7\u00a7KV_Foo\u00a7\u00a7"),
    "every_token": sample_values + ansi("".join("\u00a7\u00a7KV_%s\u00a7\u00a7;" % t for t in [
        "Off_RT_Path", "App_Path", "Version", "SH_Name", "WIN_SHARED_PRG", "MDW", "MDE",
        "WIN_SYS_PATH", "App_Name", "WIN_FONTS_PATH", "WIN_PRG", "WIN_PATH"])),
}
seeds("placeholders", placeholder_items)

seeds("registry_import", {
    "sample": lrk,
    "empty": b"",
    "no_final_break": b"REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\x]\r\n\"a\"=\"\xa7\xa7KV_App_Path\xa7\xa7\"",
    "bare_breaks": b"REGEDIT4\r\r\n\n\"a\"=dword:00000001\n\xa7",
})

seeds("welcome_markers", {
    "sample": ansi("Contabilit\u00e0 Condominio v.3.2") + b"\0" + welcome,
    "two_markers": b"App v.1\0  Benvenuti  @  e ancora  @  fine  ",
    "leading_marker": b"App\0@ inizio",
    "no_marker": b"App\0Nessun segno qui.\r\n",
    "name_with_marker": b"x@y\0a @ b @",
    "blank_name": b"  \0@@ @",
})

def version(missing, strings):
    return bytes([missing]) + ansi("\n".join(strings))

standard = ["Tessaro", "Libreria", "4.71.1712.5", "x", "(c) Tessaro", "x.dll", "Prodotto", "4.71"]
seeds("file_version", {
    "dotted": version(0, standard),
    "commas": version(0, standard[:2] + ["3, 51, 0, 2"] + standard[3:]),
    "blanks_and_exponent": version(0, standard[:2] + [" 1 2.5e 3 "] + standard[3:]),
    "with_nul": version(0, standard[:2] + ["5.0\x002.0"] + standard[3:]),
    "no_copyright": version(0x10, standard),
    "not_a_number": version(0, standard[:2] + ["v1.0"] + standard[3:]),
})

seeds("text", {
    "welcome": welcome,
    "every_byte": bytes(range(256)),
    "utf8": "citt\u00e0 \u20ac \u201c \u0178 \x81".encode("utf-8"),
    "numbers": b" -12 345.5e+3 x",
    "breaks": b"a\r\nb\rc\n\r\nd\r",
    "invalid_utf8": b"\xc3\x28\xe2\x82\xf0\x9f\x98\xed\xa0\x80\xc0\xaf",
})

def catalogue(length, source, folder, count, first):
    s, f = source.encode("cp1252"), folder.encode("cp1252")
    return (struct.pack("<iH", length, len(s)) + s + struct.pack("<H", len(f)) + f +
            struct.pack("<hi", count, first))

def piece(data):
    return struct.pack("<HII", 1, len(data), 1) + data + struct.pack("<I", len(data))

seeds("catalogue", {
    "three_floppies": catalogue(3000000, "C:\\Dati\\Citt\u00e0.mdb", "C:\\Dati\\", 3, 1),
    "one_floppy": catalogue(100, "C:\\Dati\\x.mdb", "C:\\Dati\\", 1, 1),
    "empty_file": catalogue(0, "C:\\x", "C:\\", 1, 1),
    "network_path": catalogue(100, "\\\\server\\share\\x.mdb", "\\\\server\\share\\", 1, 1),
    "dot_dot": catalogue(100, "C:\\Dati\\..\\Windows\\x", "C:\\", 1, 1),
    "trailing_bytes": catalogue(1439866, "C:\\Dati\\x.mdb", "C:\\Dati\\", 2, 1) + b"more",
    "cut_short": catalogue(100, "C:\\Dati\\x.mdb", "C:\\Dati\\", 1, 1)[:-3],
})

seeds("piece", {
    "small": piece(b"hello"),
    "empty": piece(b""),
    "trailing_bytes": piece(b"abc") + b"x",
    "wrong_trailer": piece(b"abc")[:-4] + struct.pack("<I", 4),
    "huge_count": struct.pack("<HII", 1, 0x7FFFFFFF, 1) + b"abc",
    "header_only": struct.pack("<HII", 1, 3, 1),
})

def floppy_checks(label, floppy, count, recovery, length, file_crc, parity_crc, piece_crcs):
    body = (b"KVBCRC\x01" + label.encode("ascii") + struct.pack("<HHBiII", floppy, count, recovery,
            length, file_crc, parity_crc) + b"".join(struct.pack("<I", c) for c in piece_crcs))
    return body + struct.pack("<I", zlib.crc32(body))

seeds("floppy_checks", {
    "floppy_2_of_3": floppy_checks("04242-24242", 2, 3, 1, 3000000, 0x12345678, 0, [0xCAFEBABE]),
    "recovery_of_3": floppy_checks("04242-24242", 0, 3, 1, 3000000, 0x12345678, 0x0BADF00D,
                                   [1, 2, 3]),
    "no_recovery": floppy_checks("00001-00001", 1, 1, 0, 100, 5, 0, [6]),
    "floppy_past_count": floppy_checks("04242-24242", 4, 3, 1, 3000000, 0, 0, [0]),
    "cut_short": floppy_checks("04242-24242", 1, 1, 1, 100, 5, 0, [6])[:-5],
})

def join(flags, fault_op, fault_nth, cat, pieces):
    out = bytes([flags, fault_op, fault_nth]) + struct.pack("<H", len(cat)) + cat
    for p in pieces:
        out += struct.pack("<I", len(p)) + p
    return out

data = bytes((i * 37 + 11) & 0xFF for i in range(100))
one = catalogue(100, "C:\\Dati\\dati.mdb", "C:\\Dati\\", 1, 1)
two = catalogue(7, "C:\\Dati\\dati.mdb", "C:\\Dati\\", 2, 1)
seeds("join_file", {
    "one_piece": join(0, 0, 0, one, [piece(data)]),
    "two_pieces": join(0, 0, 0, two, [piece(b"abcd"), piece(b"efg")]),
    "stored_path": join(1, 0, 0, catalogue(3, "C:\\Altro\\x.mdb", "C:\\", 1, 1), [piece(b"xyz")]),
    "piece_missing": join(0, 0, 0, two, [piece(b"abcd")]),
    "short_last_first": join(0, 0, 0, two, [piece(b"abc"), piece(b"defg")]),
    "rename_fails": join(0, 6, 0, one, [piece(data)]),
    "write_fails": join(0, 3, 1, one, [piece(data)]),
    "first_number_1000": join(0, 0, 0, catalogue(4, "C:\\Dati\\dati.mdb", "C:\\Dati\\", 2, 999),
                              [piece(b"ab"), piece(b"cd")]),
})
