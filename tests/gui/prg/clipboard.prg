// The clipboard through TClipBoard: a 70,000-byte text arrives whole; Clear empties it.
PROCEDURE Main()
   LOCAL oClip := TClipBoard():New(), cText := Replicate( "0123456789", 7000 ), cBack
   ? "set", oClip:SetText( cText )
   cBack := oClip:GetText()
   ? "length", Len( cBack ), "same", cBack == cText
   ? "empty", oClip:IsEmpty()
   oClip:Clear()
   ? "after clear", oClip:IsEmpty(), Len( oClip:GetText() )
   ? "natives", OpenClipboard( 0 ), EmptyClipboard(), SetClipboardData( 1, "abc" ), CloseClipboard()
   ? "read", OpenClipboard( 0 ), GetClpData( 1 ), CloseClipboard()
   ? "metafile", oClip:SetMetaFile( 5 ), oClip:GetMetaFile()
   ? "no arguments", SetClipboardData( 1 )
   oClip:End()
RETURN
