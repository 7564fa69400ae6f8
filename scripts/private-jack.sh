# Sourced by the demo and screenshot scripts: a private JACK server on the dummy
# driver (no sound card needed) and the processes started beside it.
#   start_private_jack NAME FOLDER   starts the server, exports JACK_DEFAULT_SERVER
#                                    and returns once it accepts clients
#   pids+=($!)                       registers another background process
# At exit every registered process is stopped in reverse order, the JACK server
# last, so that its clients can leave it; then FOLDER is removed.
pids=()
_private_jack_folder=
_private_jack_cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[$i]}" 2>/dev/null || true
    wait "${pids[$i]}" 2>/dev/null || true
  done
  [ -n "$_private_jack_folder" ] && rm -rf "$_private_jack_folder"
}
trap _private_jack_cleanup EXIT

start_private_jack() {
  local name=$1
  _private_jack_folder=$2
  command -v jackd >/dev/null || { echo "jackd is missing (package jackd2)" >&2; return 1; }
  export JACK_DEFAULT_SERVER="$name" JACK_NO_START_SERVER=1
  jackd --no-realtime -n "$name" -d dummy -r 44100 -p 1024 >"$_private_jack_folder/jackd.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do
    jack_lsp >/dev/null 2>&1 && return 0
    sleep 0.2
  done
  echo "the JACK server did not start:" >&2
  cat "$_private_jack_folder/jackd.log" >&2
  return 1
}
