/* Throughput peer: reads polynomials (coefficients highest power first, one per line) and
 * prints every root found by gsl_poly_complex_solve, one polynomial per line. */
#include <gsl/gsl_errno.h>
#include <gsl/gsl_poly.h>

#include <stdio.h>
#include <stdlib.h>

#define MAX_COEFFICIENTS 13

int main(int argc, char** argv) {
    FILE* in = argc > 1 ? fopen(argv[1], "r") : stdin;
    if (!in) {
        perror(argv[1]);
        return 1;
    }
    gsl_set_error_handler_off();
    gsl_poly_complex_workspace* workspaces[MAX_COEFFICIENTS + 1] = {0};
    static char line[4096];
    double highestFirst[MAX_COEFFICIENTS];
    double lowestFirst[MAX_COEFFICIENTS];
    double roots[2 * (MAX_COEFFICIENTS - 1)];
    while (fgets(line, sizeof line, in)) {
        int n = 0;
        char* p = line;
        char* end;
        while (n < MAX_COEFFICIENTS) {
            const double v = strtod(p, &end);
            if (end == p)
                break;
            highestFirst[n++] = v;
            p = end;
        }
        if (n < 2)
            continue;
        for (int i = 0; i < n; ++i)
            lowestFirst[i] = highestFirst[n - 1 - i];
        if (!workspaces[n])
            workspaces[n] = gsl_poly_complex_workspace_alloc((size_t)n);
        if (gsl_poly_complex_solve(lowestFirst, (size_t)n, workspaces[n], roots) != GSL_SUCCESS) {
            puts("failed");
            continue;
        }
        for (int k = 0; k < n - 1; ++k)
            printf(k ? " %.7g%+.7gi" : "%.7g%+.7gi", roots[2 * k], roots[2 * k + 1]);
        putchar('\n');
    }
    for (int n = 0; n <= MAX_COEFFICIENTS; ++n)
        if (workspaces[n])
            gsl_poly_complex_workspace_free(workspaces[n]);
    return 0;
}
