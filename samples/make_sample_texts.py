#!/usr/bin/env python3
"""Writes the sample package's text files in the ANSI code page (Windows-1252)
with CR LF line ends, and its small binary files. Run again after editing."""
import os, struct, zlib

here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "package")
files = os.path.join(here, "files")
os.makedirs(files, exist_ok=True)

def write_text(path, lines):
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("cp1252"))

def write_icon(path):
    # A 32x32 icon of our own: a blue ledger with white lines.
    w = h = 32
    rows = []
    for y in range(h):  # bottom-up rows, BGRA
        row = b""
        for x in range(w):
            inside = 3 <= x <= 28 and 2 <= y <= 29
            line = inside and 6 <= x <= 25 and y % 5 == 0 and 6 <= y <= 26
            spine = inside and x <= 6
            if not inside:
                px = (0, 0, 0, 0)
            elif line:
                px = (255, 255, 255, 255)
            elif spine:
                px = (90, 40, 10, 255)
            else:
                px = (170, 110, 30, 255)
            row += bytes(px)
        rows.append(row)
    xor = b"".join(rows)
    andmask = b"\x00" * (4 * h)
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(andmask), 0, 0, 0, 0)
    image = header + xor + andmask
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, 1))
        f.write(struct.pack("<BBBBHHII", w, h, 0, 0, 1, 32, len(image), 22))
        f.write(image)

def write_data(path, size, seed):
    # Stand-in database content: repeatable pseudo-random records.
    out = bytearray()
    x = seed
    while len(out) < size:
        x = (x * 1103515245 + 12345) & 0x7FFFFFFF
        out += struct.pack("<I", x)
    with open(path, "wb") as f:
        f.write(bytes(out[:size]))

write_data(os.path.join(files, "condominio.mde"), 96000, 7)
write_data(os.path.join(files, "condominio.mdw"), 12000, 11)
write_icon(os.path.join(files, "condominio.ico"))
write_text(os.path.join(files, "leggimi.txt"), [
    "Contabilità Condominio 3.2",
    "",
    "Novità di questa versione:",
    "- ripartizione delle spese per millesimi di proprietà e di scala;",
    "- stampa del rendiconto annuale e del preventivo;",
    "- archivio dei fornitori con scadenze dei pagamenti.",
])
write_text(os.path.join(files, "guida.txt"), [
    "Guida rapida",
    "",
    "1. Aprite il programma dal gruppo del menu Start.",
    "2. Inserite i dati del condominio e delle unità immobiliari.",
    "3. Registrate spese e incassi: il rendiconto si aggiorna da sé.",
    "Per salvare i dati su dischetti usate la voce «Copia di sicurezza».",
])
write_text(os.path.join(files, "modello_verbale.txt"), [
    "Verbale di assemblea condominiale",
    "L'anno ____ il giorno ____ del mese di ____ si è riunita l'assemblea ...",
])

total = sum(os.path.getsize(os.path.join(files, n)) for n in os.listdir(files))

write_text(os.path.join(here, "Setup.dip"), [
    "Nome:Contabilità Condominio v.3.2",
    "Descrizione     :Gestione contabile di condomini e amministrazioni",
    "Nome breve  :Condominio",
    "Gruppo progr.:Contabilità Condominio",
    "Vers.  :3.2",
    "Cartella    :Condominio",
    "Dimensione:%d" % total,
    "Eseguib.:",
    "Database:condominio.mde",
    "Gr.lavor:condominio.mdw",
    "Icona   :condominio.ico",
    "Nome  :Guida rapida",
    "File  :Documenti\\guida.txt",
    "Icona :condominio.ico",
    "Nome  :Leggimi",
    "File  :leggimi.txt",
    "Icona :condominio.ico",
])

write_text(os.path.join(here, "Setup.ftc"), [
    "; Contabilità Condominio 3.2: file da installare",
    "; nome;cartella;sostituibile (1) o da conservare (0)",
    "condominio.mde;§§KV_App_Path§§;1",
    "condominio.mdw;§§KV_App_Path§§;0",
    "condominio.ico;§§KV_App_Path§§;1",
    "leggimi.txt;§§KV_App_Path§§;1",
    "",
    "; documentazione e modelli",
    "guida.txt;§§kv_app_path§§\\Documenti;1",
    "modello_verbale.txt;§§KV_App_Path§§\\Modelli;0",
    "; copia della guida accanto ai file comuni",
    "guida.txt;§§KV_WIN_SHARED_PRG§§\\Condominio;1",
])

write_text(os.path.join(here, "Settings.lrk"), [
    "REGEDIT4",
    "",
    "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\§§KV_App_Name§§]",
    "\"DisplayName\"=\"§§KV_App_Name§§\"",
    "\"DisplayVersion\"=\"§§KV_Version§§\"",
    "\"InstallLocation\"=\"§§KV_App_Path§§\"",
    "\"UninstallString\"=\"§§KV_WIN_SYS_PATH§§\\\\unplant.exe /§§KV_App_Path§§\"",
    "",
    "[HKEY_LOCAL_MACHINE\\Software\\§§KV_SH_Name§§\\§§KV_App_Name§§\\§§KV_Version§§]",
    "\"Cartella\"=\"§§KV_App_Path§§\"",
    "\"Database\"=\"§§KV_App_Path§§\\\\§§KV_MDE§§\"",
    "\"Modelli\"=\"§§KV_App_Path§§\\\\Modelli\"",
    "\"PrimoAvvio\"=dword:00000001",
    "",
    "[HKEY_LOCAL_MACHINE\\Software\\§§KV_SH_Name§§\\§§KV_App_Name§§\\§§KV_Version§§\\Jet\\3.5\\Engines]",
    "\"SystemDB\"=\"§§KV_App_Path§§\\\\§§KV_MDW§§\"",
    "",
    "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Access Runtime\\8.0\\Profiles]",
    "\"§§KV_App_Name§§\"=\"Software\\\\§§KV_SH_Name§§\\\\§§KV_App_Name§§\\\\§§KV_Version§§\"",
    "",
    "[HKEY_CURRENT_USER\\Software\\§§KV_SH_Name§§\\Preferenze]",
    "\"Runtime\"=\"§§KV_Off_RT_Path§§\\\\MSACCESS.EXE\"",
    "\"Caratteri\"=\"§§KV_WIN_FONTS_PATH§§\"",
])

write_text(os.path.join(here, "Welcome.txt"), [
    "Benvenuti nel programma di installazione di @ !",
    "",
    "Questo programma installerà @ sul vostro computer.",
    "",
    "Prima di proseguire chiudete tutte le altre applicazioni aperte, in particolare quelle che usano i file di sistema di Windows.",
    "",
    "Premete Avanti per continuare, oppure Esci per terminare l'installazione senza modificare il sistema.",
])

write_text(os.path.join(here, "Licence.txt"), [
    "CONTRATTO DI LICENZA D'USO",
    "",
    "Leggete attentamente le condizioni seguenti prima di installare il programma.",
    "",
    "1. Il programma è concesso in licenza, non venduto. La licenza vale per un solo computer alla volta.",
    "2. Non è consentito decompilare, modificare o cedere a terzi il programma.",
    "3. I dati inseriti restano di proprietà dell'utente, al quale spetta di conservarne copie di sicurezza.",
    "4. Il produttore non risponde di danni derivanti da un uso improprio.",
    "",
    "Installando il programma accettate integralmente queste condizioni.",
])
print("sample package written, %d bytes in files\\" % total)
