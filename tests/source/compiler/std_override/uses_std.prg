// Preprocessed with std_override/ as include folder: SKIP is the replacement, GO is unknown.
SKIP 1
GO TOP
