local a, x = {}, 12345
for i = 1, 200000 do
  x = (x * 1103515245 + 12345) % 2147483648
  a[#a + 1] = {x, i}
end
table.sort(a, function(p, q) return p[1] < q[1] end)
print(a[1][1] <= a[2][1], #a)
