#!/usr/bin/env bash
# Makes the README's pictures of the windows: the program started on a sample folder on a virtual
# screen, driven with xdotool, each window captured and cut to its size into docs/.
#   screenshots.sh [BUILD_DIR]   (default build-test; the program must be built there)
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
program="$repo/${1:-build-test}/src/velmora"
for tool in xdotool sqlite3; do
  command -v "$tool" >/dev/null || apt-get install -y -q -o DPkg::Lock::Timeout=300 --no-install-recommends "$tool"
done
sample=$(mktemp -d)
trap 'rm -rf "$sample"' EXIT

# A first start makes the files; then two doctors and a morning of bookings on the day shown.
QT_QPA_PLATFORM=offscreen timeout 5 "$program" --data-folder "$sample" >/dev/null 2>&1 || true
rm -f "$sample/velmora.lock"
day=$(date +%F)
sqlite3 "$sample/bdm6.mdb" "UPDATE profs SET prof1='Dra. Márcia Guimarães', interv1='15', junta1=2,
  prof2='Dr. João Batista Falcão', interv2='20', prof11='Dra. Lúcia Helena Aragão', interv11='15'"
for d in seg ter qua qui sex sab dom; do
  sqlite3 "$sample/bdm6.mdb" "UPDATE profs SET p1_${d}1='0730', p1_${d}2='1130', p1_${d}3='1330', p1_${d}4='1800'"
done
sqlite3 "$sample/bdm1.mdb" "INSERT INTO dados VALUES
  ('$day','07:30','Maria da Silva','Unimed','3224-5678','primeira consulta'),
  ('$day','08:15','João da Conceição','Bradesco Saúde','(31) 99876-5432',''),
  ('$day','09:00','Ana Luísa D''Ávila','Particular','3473-6808','trazer exames'),
  ('$day','10:10','Gabriel de Carvalho','Amil','98808-4474','encaixe')"

export sample repo program
mkdir -p "$repo/docs"
xvfb-run -a -s "-screen 0 1366x768x24" bash -c '
  shoot() { # the screen cut to the window, as docs/NAME
    /usr/bin/import -window root "$sample/screen.png"
    /usr/bin/convert "$sample/screen.png" -crop 777x552+0+0 +repage "$repo/docs/$1"
  }
  "$program" --data-folder "$sample" --language en & pid=$!
  xdotool search --sync --name "Velmora 3.2" >/dev/null
  xdotool mousemove 100 460 click 1; sleep 0.5; xdotool key Down; sleep 0.5; xdotool key Return; sleep 0.5  # the first doctor
  shoot main-window.png
  xdotool mousemove 584 448 click 1; sleep 1                                     # Setup Doctors Details
  shoot setup-window.png
  xdotool mousemove 340 160 click 1; sleep 1                                     # Schedule of the first
  shoot weekly-hours.png
  kill $pid'
echo "pictures written to $repo/docs"
