#!/usr/bin/env bash
# The Holy War page of the complete list (the longest) as a reader meets it, laid out by
# headless Chromium at two window widths: every question stays in one column with its
# solutions, and a reader going on from one question to the next never scrolls back up
# more than one screenful. The pages and what was measured stay in the output folder.
# Exit 77 (skipped) without Chromium.
set -euo pipefail
cli=$1
out=$2
browser=$(command -v chromium || command -v chromium-browser || true)
[ -n "$browser" ] || { echo "SKIP chromium is not installed (scripts/install-deps.sh installs it)"; exit 77; }
rm -rf "$out"
mkdir -p "$out"

# The measurement runs in the page once it is laid out, and leaves its result on the
# root element, which --dump-dom prints. A question is its bold heading paragraph and
# the solution paragraphs after it.
measure='<script>
(function () {
  var questions = [];
  document.querySelectorAll("div.list p").forEach(function (p) {
    var r = p.getBoundingClientRect();
    if (p.querySelector("b") || questions.length === 0)
      questions.push({ lefts: {}, top: r.top + scrollY, bottom: r.bottom + scrollY });
    var q = questions[questions.length - 1];
    q.lefts[Math.round(r.left)] = true;
    q.top = Math.min(q.top, r.top + scrollY);
    q.bottom = Math.max(q.bottom, r.bottom + scrollY);
  });
  var split = 0, back = 0;
  questions.forEach(function (q, i) {
    if (Object.keys(q.lefts).length > 1) split++;
    if (i > 0) back = Math.max(back, questions[i - 1].bottom - q.top);
  });
  document.documentElement.setAttribute("data-layout", "questions=" + questions.length + " split=" + split +
    " back=" + Math.round(back) + " screen=" + innerHeight + " height=" + document.documentElement.scrollHeight);
})();
</script>'

"$cli" list --advanced --max 13 --format html > "$out/holy-war.htm"
page="$out/holy-war-measured.htm"
sed "s#</body>#${measure//$'\n'/ }</body>#" "$out/holy-war.htm" > "$page"

failed=0
for width in 1280 800; do
  profile=$(mktemp -d)
  timeout 120 "$browser" --headless --no-sandbox --disable-gpu --no-first-run --disable-background-networking \
    --disable-component-update --disable-sync --user-data-dir="$profile" --window-size="$width,900" \
    --dump-dom "file://$(realpath "$page")" > "$out/dom-$width.htm" 2> "$out/chromium-$width.log" || true
  rm -rf "$profile"
  layout=$(grep -o 'data-layout="[^"]*"' "$out/dom-$width.htm" | head -1 | sed 's/data-layout="//; s/"$//')
  echo "$width px: $layout" | tee -a "$out/layout.txt"
  [ -n "$layout" ] || { echo "FAIL no measurement at $width px (see $out/chromium-$width.log)"; failed=1; continue; }
  declare -A m=()
  for pair in $layout; do m[${pair%%=*}]=${pair#*=}; done
  [ "${m[questions]}" -eq 1820 ] || { echo "FAIL $width px: ${m[questions]} questions, not 1820"; failed=1; }
  [ "${m[split]}" -eq 0 ] || { echo "FAIL $width px: ${m[split]} questions break across columns"; failed=1; }
  [ "${m[back]}" -le "${m[screen]}" ] ||
    { echo "FAIL $width px: the next question lies ${m[back]} px back up, more than a screen (${m[screen]} px)"; failed=1; }
done
exit $failed
