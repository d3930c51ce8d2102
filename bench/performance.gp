# The distributions of scripts/benchmark.sh: box from the 25th to the 75th percentile,
# whiskers from the 10th to the 90th, a bar at the median.
#   gnuplot -e "data='chart.dat'; output='performance.png'" bench/performance.gp
set terminal pngcairo size 1500,560 font "DejaVu Sans,10" noenhanced
set output output
set multiplot layout 1,3 title "printdialogs benchmark: 10th-25th-median-75th-90th percentiles"
set style fill solid 0.35 border -1
set boxwidth 0.5
set xtics rotate by -35 left nomirror
set grid ytics
unset key
set bmargin 9
set yrange [0:*]

set title "Dialog up: call until shown and active"
set ylabel "ms"
set xrange [-0.6:6.6]
plot data index 0 using 1:4:3:7:6:xtic(2) with candlesticks whiskerbars lc rgb "#3465a4", \
     ''   index 0 using 1:5:5:5:5 with candlesticks lc rgb "#000000" lw 2

set title "Threaded export: call to return"
set ylabel "µs"
set xrange [-0.6:2.6]
plot data index 1 using 1:4:3:7:6:xtic(2) with candlesticks whiskerbars lc rgb "#73a946", \
     ''   index 1 using 1:5:5:5:5 with candlesticks lc rgb "#000000" lw 2

set title "Duplex dialog: one WM_PAINT, at 96 and 144 DPI"
set ylabel "µs"
set xrange [-0.6:3.6]
plot data index 2 using 1:4:3:7:6:xtic(2) with candlesticks whiskerbars lc rgb "#cc7a00", \
     ''   index 2 using 1:5:5:5:5 with candlesticks lc rgb "#000000" lw 2
unset multiplot
