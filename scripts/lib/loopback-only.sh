# Runs a command in a network namespace of its own that has only the loopback interface, so
# nothing it starts can reach another machine: a connect to any address outside 127.0.0.0/8
# fails at once with "network unreachable". Sourced by scripts/.
#
#   loopback_only COMMAND...   runs COMMAND there (as root, or through sudo) and returns its
#                              status; CLUMA_LOOPBACK_ONLY=1 tells the command where it is
#
# Packages are installed before, outside: apt needs the network that the namespace lacks.

loopback_only() {
  if [ "${CLUMA_LOOPBACK_ONLY:-}" = 1 ]; then
    "$@"
    return
  fi
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo --preserve-env"
  # shellcheck disable=SC2016
  $sudo unshare --net -- env CLUMA_LOOPBACK_ONLY=1 bash -c \
    'ip link set lo up || exit 70; exec "$@"' loopback-only "$@"
}

# Fails unless this shell is already inside such a namespace: no interface but loopback.
assert_loopback_only() {
  local interfaces
  interfaces="$(ip -o link show | awk -F': ' '{print $2}' | grep -vx lo || true)"
  if [ -n "$interfaces" ]; then
    echo "refusing to run: this network namespace has interfaces besides loopback:" \
      "$interfaces" >&2
    return 1
  fi
}
