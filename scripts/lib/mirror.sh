# Sourced by scripts that download from Debian: finds the mirror this machine's apt
# sources name. Callers set $suite.

# The first deb line (one-line or deb822 format) for the suite, with an http(s) address.
mirror() {
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk -v suite=$suite 'BEGIN { RS = ""; FS = "\n" }
      {
        delete v
        for (i = 1; i <= NF; i++) {
          if ($i ~ /^[ \t]*#/ || $i !~ /:/) continue
          key = tolower(substr($i, 1, index($i, ":") - 1))
          v[key] = " " substr($i, index($i, ":") + 1) " "
        }
        if (v["enabled"] ~ / no /) next
        if (v["types"] !~ / deb / || v["suites"] !~ (" " suite " ")) next
        split(v["uris"], uris, " ")
        if (uris[1] ~ /^https?:\/\//) { print uris[1]; exit }
      }' "$f"
  done
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    awk -v suite=$suite '$1 == "deb" {
        i = 2
        if ($i ~ /^\[/) { while ($i !~ /\]$/ && i < NF) i++; i++ }
        if ($(i + 1) == suite && $i ~ /^https?:\/\//) { print $i; exit }
      }' "$f"
  done
}
