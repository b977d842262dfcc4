# Functions to start and stop a CUPS daemon with a PDF printer as the default printer, for the print
# tests. A daemon that was already running is left running.
started_cupsd=0

start_print_queue() {
  if ! lpstat -r 2>/dev/null | grep -q 'is running'; then
    /usr/sbin/cupsd
    started_cupsd=1
    for _ in $(seq 100); do lpstat -r 2>/dev/null | grep -q 'is running' && break; sleep 0.1; done
  fi
  lpadmin -p VelmoraPDF -E -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd \
    -o pdftops-renderer-default=pdftocairo
  lpadmin -d VelmoraPDF
  # cups-pdf writes a job into the PDF folder of the submitting user's home, as the password file has it.
  export VELMORA_PDF_OUTPUT="$(getent passwd "$(id -un)" | cut -d: -f6)/PDF"
}

stop_print_queue() {
  if [ "$started_cupsd" = 1 ] && [ -f /run/cups/cupsd.pid ]; then
    kill -TERM "$(cat /run/cups/cupsd.pid)" 2>/dev/null || true
  fi
}
