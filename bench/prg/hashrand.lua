-- Random integer keys: 200,000 inserts, a lookup of each, then half of them deleted and
-- the rest summed by iteration.
local h, k, n, count = {}, 4321, 0, 0
for i = 1, 200000 do
  k = (k * 1103515245 + 12345) % 2147483648
  h[k] = i
end
k = 4321
for i = 1, 200000 do
  k = (k * 1103515245 + 12345) % 2147483648
  n = n + h[k]
end
k = 4321
for i = 1, 100000 do
  k = (k * 1103515245 + 12345) % 2147483648
  h[k] = nil
  k = (k * 1103515245 + 12345) % 2147483648
end
for _, v in pairs(h) do n = n + v; count = count + 1 end
print(count, n)
