# Bytes each input file puts into a program, from a GNU ld map (-Wl,-Map):
#   awk -f bench/map_sizes.awk [-v by=archive] PROGRAM.map | sort -rn | head
# Prints "bytes name" lines: the name is an archive member ("libstdc++.a(cp-demangle.o)")
# or an object file; with by=archive, the archive or object only. Only the
# sections that take room in the file count (code, read-only and initialised
# data, unwind tables, resources, import tables); zero-filled data and the
# debug sections that stripping removes do not.
function hex(text,    n, i) {  # "0x1f0" to 496; mawk has no strtonum
  n = 0
  text = tolower(substr(text, 3))
  for (i = 1; i <= length(text); i++) n = n * 16 + index("0123456789abcdef", substr(text, i, 1)) - 1
  return n
}
function keep(section) {
  return section ~ /^\.(text|data|rdata|eh_frame|rsrc|CRT|tls|idata)/
}
function add(size, file) {
  if (!keep(output) || file == "") return
  sub(/.*\//, "", file)  # drop the folders
  if (by == "archive") sub(/\(.*/, "", file)
  bytes[file] += hex(size)
}
/^Linker script and memory map/ { inmap = 1; next }
!inmap { next }
/^\.[^ ]+/ { output = $1; pending = ""; next }  # an output section starts
# An input section: " .text 0xADDR 0xSIZE file", or its name alone on one
# line and the rest on the next.
/^ \.[^ ]+ *$/ { pending = $1; next }
/^ \.[^ ]+ +0x[0-9a-f]+ +0x[0-9a-f]+ / { add($3, substr($0, index($0, $4))); pending = ""; next }
pending != "" && /^ +0x[0-9a-f]+ +0x[0-9a-f]+ / {
  add($2, substr($0, index($0, $3))); pending = ""; next
}
{ pending = "" }
END { for (f in bytes) printf "%d %s\n", bytes[f], f }
