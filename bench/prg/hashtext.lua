-- Text keys in scrambled order: 200,000 inserts into a table, then a lookup of each.
local h, k, n, count = {}, 12345, 0, 0
for i = 1, 200000 do
  k = (k * 1103515245 + 12345) % 2147483648
  h["k" .. k] = i
end
k = 12345
for i = 1, 200000 do
  k = (k * 1103515245 + 12345) % 2147483648
  n = n + h["k" .. k]
end
for _ in pairs(h) do count = count + 1 end
print(count, n)
