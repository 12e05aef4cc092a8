// Floating-point loops over locals: points of a 200 x 200 grid that stay inside the Mandelbrot
// set after 50 iterations, counted ten times over.
PROCEDURE Main()
   LOCAL x, y, cr, ci, zr, zi, t, k, inside := 0, pass
   FOR pass := 1 TO 10
      FOR y := 0 TO 199
         ci := y * 0.01 - 1.0
         FOR x := 0 TO 199
            cr := x * 0.015 - 2.0
            zr := 0.0
            zi := 0.0
            k := 0
            DO WHILE k < 50 .AND. zr * zr + zi * zi <= 4.0
               t := zr * zr - zi * zi + cr
               zi := 2.0 * zr * zi + ci
               zr := t
               k++
            ENDDO
            IF k == 50
               inside++
            ENDIF
         NEXT
      NEXT
   NEXT
   ? inside
RETURN
