# Functions to start and stop a CUPS daemon with a PDF printer as the default printer, for the print
# tests. A daemon that was already running is left running, and the machine's default printer is
# given back when the tests end.
started_cupsd=0
previous_default=""
created_printer=0

start_print_queue() {
  if ! lpstat -r 2>/dev/null | grep -q 'is running'; then
    /usr/sbin/cupsd
    started_cupsd=1
    for _ in $(seq 100); do lpstat -r 2>/dev/null | grep -q 'is running' && break; sleep 0.1; done
  fi
  previous_default=$(lpstat -d 2>/dev/null | sed -n 's/^system default destination: //p')
  lpstat -p VelmoraPDF >/dev/null 2>&1 || created_printer=1
  lpadmin -p VelmoraPDF -E -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd \
    -o pdftops-renderer-default=pdftocairo
  lpadmin -d VelmoraPDF
  # cups-pdf writes a job into the PDF folder of the submitting user's home, as the password file has it.
  export VELMORA_PDF_OUTPUT="$(getent passwd "$(id -un)" | cut -d: -f6)/PDF"
}

stop_print_queue() {
  if [ -n "$previous_default" ] && [ "$previous_default" != VelmoraPDF ]; then
    lpadmin -d "$previous_default" 2>/dev/null || true
  elif [ "$created_printer" = 1 ]; then
    lpadmin -x VelmoraPDF 2>/dev/null || true
  fi
  if [ "$started_cupsd" = 1 ] && [ -f /run/cups/cupsd.pid ]; then
    kill -TERM "$(cat /run/cups/cupsd.pid)" 2>/dev/null || true
  fi
}
