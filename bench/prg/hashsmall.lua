-- Many small hashes: 200,000 records of four text keys kept in an array, then read back.
local a, n = {}, 0
for i = 1, 200000 do
  a[i] = { id = i, name = "item", price = i * 0.5, stock = i % 7 }
end
for i = 1, 200000 do
  local r = a[i]
  n = n + r["id"] + r["stock"]
  r["price"] = r["price"] + 1
end
print(n)
