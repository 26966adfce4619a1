# The four conversions in awk, byte for byte as the tool does them, for the
# benchmark. Run with LC_ALL=C so that lengths count bytes:
#   LC_ALL=C awk -v fmt=csv -v out=data.stp -f convert.awk data.csv
# Every line goes to `out` and to standard output. Inputs are assumed to end
# with a line end and to hold no NUL byte, as the benchmark's inputs do.
function emit(line) {
  print line > out
  print line
}
BEGIN { ORS = "\r\n"; sep = (fmt == "typ") ? ":" : "," }
fmt == "csv" || fmt == "typ" {
  p = index($0, sep)
  n = length($0)
  if (p >= 3 && p < n) emit(substr($0, 1, p - 1) "\t" substr($0, p + 1, n - p - 1))
  next
}
fmt == "ztp" {
  n = length($0)
  if (NR == 1) { emit("EVENT MESSAGE=\"" substr($0, 1, n - 1) "\""); next }
  p = index($0, ",")
  if (p >= 3 && p < n) emit(substr($0, p + 1, n - p - 1) "\t" substr($0, 1, p - 1))
  next
}
fmt == "wtw" {
  body = substr($0, 1, length($0) - 1)
  if (open) { emit(body "\t" first); open = 0 }
  else if (body != "") { first = body; open = 1 }
}
END {
  # The empty line after the final line end completes an open pair.
  if (fmt == "wtw" && open) emit("\t" first)
  if (fmt == "ztp" && NR == 0) emit("EVENT MESSAGE=\"\"")
}
