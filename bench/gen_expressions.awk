# Random ASCII arithmetic lines such as 12.5*(3-4.25)/7+100, the same for every run
# (awk's rand with a fixed seed). Usage: awk -v n=COUNT -f bench/gen_expressions.awk
BEGIN {
  srand(20031);
  for (i = 0; i < n; i++) print expr(0);
}
function num() {
  if (rand() < 0.5) return int(rand() * 1000) + 1;
  return sprintf("%d.%d", int(rand() * 100), int(rand() * 99) + 1);
}
function factor(d) {
  if (d < 2 && rand() < 0.3) return "(" expr(d + 1) ")";
  return num();
}
function term(d,   s, k) {
  s = factor(d);
  for (k = int(rand() * 3); k > 0; k--) s = s (rand() < 0.5 ? "*" : "/") num();
  return s;
}
function expr(d,   s, k) {
  s = term(d);
  for (k = int(rand() * 3); k > 0; k--) s = s (rand() < 0.5 ? "+" : "-") term(d);
  return s;
}
