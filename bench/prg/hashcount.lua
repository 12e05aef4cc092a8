-- Counting: 100,000 random integers below 50,000, each looked up and then counted in a table.
local h, k, n, count = {}, 4321, 0, 0
for i = 1, 100000 do
  k = (k * 1103515245 + 12345) % 2147483648
  if h[k % 50000] ~= nil then
    h[k % 50000] = h[k % 50000] + 1
  else
    h[k % 50000] = 1
  end
end
for _, v in pairs(h) do n = n + v; count = count + 1 end
print(count, n)
