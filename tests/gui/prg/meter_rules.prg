// The meter: values clamp to 0..nTotal, nothing repaints below 1 %, the percentage texts.
PROCEDURE Main()
   LOCAL oDlg := TDialog():New( 0, 0, 10, 40, "Meter" ), nValue := 0, oMeter
   oMeter := TMeter():New( 1, 1, {| n | iif( n == NIL, nValue, nValue := n ) }, 200, oDlg )
   oMeter:Set( 1 )
   ? "0.5 %", nValue, "refresh", oMeter:nRefresh
   oMeter:Set( 2 )
   ? "1 %", nValue, "refresh", oMeter:nRefresh
   oMeter:Set( 250 )
   ? "above", nValue, "refresh", oMeter:nRefresh
   oMeter:Set( -5 )
   ? "below", nValue
   oMeter:nTotal := 0
   oMeter:Set( 3 )
   ? "no total", nValue, "refresh", oMeter:nRefresh
   ? "[" + MeterText( "", 7, 100 ) + "]", "[" + MeterText( "", 45, 100 ) + "]", "[" + MeterText( "", 100, 100 ) + "]"
   ? "[" + MeterText( "Copy", 90, 200 ) + "]", "[" + MeterText( "Copy", 1, 3, .F. ) + "]", "[" + MeterText( "", 0, 5 ) + "]"
RETURN
