# The run's floppies, sourced by prefix-up.sh and prefix-down.sh (needs root,
# or sudo without a password, for the mounts). In TESSARO_FLOPPIES:
#
#   disk1 .. disk6  each a tmpfs of 1440k, so a floppy fills up where a real
#                   one would; its .windows-label is a bind mount of
#                   labels/diskN, which Wine writes through but nothing can
#                   delete (a real floppy's label is not a file and survives
#                   the emptying of the disk)
#   labels/         the label store, one file per disk, on the build's disk
#   protected       a read-only tmpfs with a label and one file: a
#                   write-protected floppy (a read-only bind mount would do
#                   too, but then Wine looks for the block device behind it,
#                   cannot open it and reads no label)
#   none            never made: drive A: pointed here has no disk in it
#
# Tests swap them by redefining drive A: through the mount manager
# (support/floppy.h); a label that Wine has read stays cached until then.

floppy_disks=6

as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"; else sudo -n "$@"; fi
}

# The mount points under $1, deepest first; mountinfo escapes blanks as \040.
floppy_mounts() {
  local dir=$1 target
  awk '{ print $5 }' /proc/self/mountinfo | while read -r target; do
    target=$(printf '%b' "$target")
    case "$target" in "$dir" | "$dir"/*) printf '%s\n' "$target" ;; esac
  done | sort -r
}

# Unmounts everything under $1. False when something stays mounted: the
# caller must not remove the folder then (rm -rf would empty the label store
# through a bind mount, or fail half-way on a read-only disk).
floppies_down() {
  local dir=$1 target
  [ -d "$dir" ] || return 0
  floppy_mounts "$dir" | while read -r target; do
    as_root umount "$target" 2>/dev/null || as_root umount -l "$target"
  done
  [ -z "$(floppy_mounts "$dir")" ]
}

floppies_up() {
  local dir=$1 n disk
  floppies_down "$dir" || return 1
  rm -rf "$dir"
  mkdir -p "$dir/labels" "$dir/protected"
  for n in $(seq "$floppy_disks"); do
    disk=$dir/disk$n
    mkdir "$disk"
    : >"$dir/labels/disk$n"
    as_root mount -t tmpfs -o size=1440k,mode=0777 "floppy$n" "$disk" || return 1
    as_root touch "$disk/.windows-label"
    as_root mount --bind "$dir/labels/disk$n" "$disk/.windows-label" || return 1
  done
  as_root mount -t tmpfs -o size=1440k,mode=0777 floppy-protected "$dir/protected" || return 1
  printf 'PROTETTO\n' | as_root tee "$dir/protected/.windows-label" >/dev/null
  printf 'vecchio contenuto\r\n' | as_root tee "$dir/protected/vecchio.txt" >/dev/null
  as_root mount -o remount,ro "$dir/protected"
}
