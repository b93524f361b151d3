#!/usr/bin/env bash
# Runs the README's set-up for a school as written, as root, in a throw-away
# root file system (chroot) that holds only the commands it needs and an
# /etc with one teacher, sato, and one other user, guest. Then checks what the
# README promises: the folder and its links are root's and closed to teachers,
# each link has its booking file, readable and writable by the group teachers
# alone, which sato is in; as sato, that a booking file takes a line while the
# folder refuses to let a link be replaced, a file be renamed or a new file be
# made; and that guest cannot read a booking file, whose lock whoever reads it
# could take. Also validates the README's room launcher.
#   readme.sh README.md PROGRAM
set -euo pipefail
readme=$(realpath "$1")
program=$(realpath "$2")

fail() { echo "FAIL: $*" >&2; exit 1; }

# block MARKER: the fenced block that follows the comment line naming MARKER.
block() {
    awk -v marker="<!-- $1" '
        index($0, marker) == 1 { found = 1; next }
        found && /^```/ { if (inside) exit; inside = 1; next }
        inside { print }' "$readme"
}

launcher=$(mktemp --suffix=.desktop)
trap 'rm -f "$launcher"' EXIT
block launcher >"$launcher"
[[ -s $launcher ]] || fail "no launcher block in the README"
desktop-file-validate "$launcher" || fail "the README's launcher does not validate"
exec_name=$(sed -n 's/^Exec=//p' "$launcher")
[[ $(sed -n 's/^StartupWMClass=//p' "$launcher") == "$(basename "$exec_name")" ]] \
    || fail "StartupWMClass is not the room the launcher starts"

if [[ $(id -u) -ne 0 ]]; then
    echo "SKIP: running the set-up needs root (chroot, ownership)" >&2
    exit 77
fi
setup=$(block "set-up block")
add_room=$(block "add-a-room block")
[[ -n $setup && -n $add_room ]] || fail "the README's set-up blocks are missing"

root=$(mktemp -d)
chmod 755 "$root"
trap 'rm -f "$launcher"; rm -rf "$root"' EXIT
export PATH=/usr/sbin:/usr/bin:/sbin:/bin

# The commands, their libraries and the loader, each at its own path.
copy_in() {
    mkdir -p "$root$(dirname "$1")"
    cp -L "$1" "$root$1"
}
for command in sh install ln cp mv mkdir chown chgrp chmod groupadd usermod; do
    path=$(command -v "$command") || fail "$command not found"
    copy_in "$path"
    ldd "$path" | grep -o '/[^ ]*' | while read -r library; do copy_in "$library"; done
done
copy_in /bin/sh
copy_in "$program"
mkdir -p "$root/usr/bin" "$root/srv"
mv "$root$program" "$root/usr/bin/roomboard"

mkdir -p "$root/etc" "$root/dev"
mknod -m 666 "$root/dev/null" c 1 3
cat >"$root/etc/passwd" <<'END'
root:x:0:0:root:/root:/bin/sh
sato:x:1000:1000::/home/sato:/bin/sh
guest:x:1001:1001::/home/guest:/bin/sh
END
printf 'root:x:0:\nsato:x:1000:\nguest:x:1001:\n' >"$root/etc/group"
printf 'root:*:19000:0:99999:7:::\nsato:*:19000:0:99999:7:::\nguest:*:19000:0:99999:7:::\n' >"$root/etc/shadow"
printf 'root:*::\nsato:!::\nguest:!::\n' >"$root/etc/gshadow"
chmod 640 "$root/etc/shadow" "$root/etc/gshadow"
printf 'passwd: files\ngroup: files\nshadow: files\ngshadow: files\n' >"$root/etc/nsswitch.conf"
[[ -f /etc/login.defs ]] && cp /etc/login.defs "$root/etc/"

in_root() { chroot "$root" /bin/sh -ec "$1"; }
rooms() { find "$root/srv/booking" -mindepth 1 -maxdepth 1 -type l | wc -l; }

in_root "$setup" || fail "the set-up block failed"
before=$(rooms)
in_root "$add_room" || fail "the add-a-room block failed"
(( before >= 2 && $(rooms) == before + 1 )) || fail "rooms: $before, then $(rooms) after adding one"

teachers=$(awk -F: '$1 == "teachers" { print $3 ":" $4 }' "$root/etc/group")
[[ -n $teachers ]] || fail "no group teachers"
[[ ,${teachers#*:}, == *,sato,* ]] || fail "sato is not in the group teachers ($teachers)"
gid=${teachers%%:*}

folder=$root/srv/booking
[[ $(stat -c '%u %g %a' "$folder") == "0 $gid 750" ]] || fail "the folder is $(stat -c '%U:%G %a' "$folder")"
for link in "$folder"/*; do
    [[ $link == *.dat ]] && continue
    room=$(basename "$link")
    [[ -L $link && $(readlink "$link") == /usr/bin/roomboard ]] || fail "$room is not a link to the program"
    [[ $(stat -c %u "$link") == 0 ]] || fail "the link $room is not root's"
    dat=$link.dat
    [[ -f $dat && ! -s $dat ]] || fail "$room.dat is not an empty file"
    [[ $(stat -c '%u %g %a' "$dat") == "0 $gid 660" ]] || fail "$room.dat is $(stat -c '%u %g %a' "$dat")"
done
[[ $(find "$folder" -mindepth 1 ! -type l ! -name '*.dat' | wc -l) == 0 ]] || fail "other files in the folder"

# As sato, with the groups sato has at login; the refusals are expected.
as_sato() { chroot --userspec=sato:sato "$root" /bin/sh -c "$1"; }
as_sato 'printf x >>/srv/booking/理科室.dat' || fail "sato cannot write a booking file"
as_sato 'ln -sfn /bin/sh /srv/booking/理科室' 2>/dev/null && fail "sato could replace a room's link"
as_sato 'mv /srv/booking/理科室.dat /srv/booking/old.dat' 2>/dev/null && fail "sato could rename a booking file"
as_sato 'printf x >/srv/booking/新しい部屋.dat' 2>/dev/null && fail "sato could make a file in the folder"
[[ $(readlink "$folder/理科室") == /usr/bin/roomboard ]] || fail "the link changed"
chroot --userspec=guest:guest "$root" /bin/sh -c ': </srv/booking/理科室.dat' 2>/dev/null \
    && fail "guest, no teacher, could read a booking file"
echo "README set-up ok: $(rooms) rooms"
