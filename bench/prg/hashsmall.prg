// Many small hashes: 200,000 records of four text keys kept in an array, then read back.
PROCEDURE Main()
   LOCAL a := Array( 200000 ), i, n := 0, r
   FOR i := 1 TO 200000
      a[ i ] := { "id" => i, "name" => "item", "price" => i * 0.5, "stock" => i % 7 }
   NEXT
   FOR i := 1 TO 200000
      r := a[ i ]
      n += r[ "id" ] + r[ "stock" ]
      r[ "price" ] := r[ "price" ] + 1
   NEXT
   ? n
RETURN
