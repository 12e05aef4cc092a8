local a, x = {}, 12345
for i = 1, 1000000 do x = (x * 1103515245 + 12345) % 2147483648; a[i] = x end
table.sort(a)
print(a[1] <= a[2], #a)
